#pragma once

#include <cmath>
#include <limits>

namespace zorvik {

// Why a number failed, as the first failing step of a formula reports it to a FailureWatch.
enum class Failure : unsigned char {
    None,
    NotANumber,     // a field text the strict conversion rejects (a blank one included)
    DivisionByZero, // also 0/0
    Overflow,       // a result beyond the double range
    Invalid,        // a step that produced a NaN from numbers
    NegativeRoot,   // the square root of a negative number
    ArcsineRange,   // the arcsine of a number outside the open interval from -1 to 1
};

// While one is alive on a thread, the first step there that fails a number from numbers that
// had not failed tells it why. Only explanations make one: a solve without it pays a test of a
// pointer on the rare step that fails, and nothing on the steps that succeed.
class FailureWatch {
public:
    FailureWatch();
    ~FailureWatch();
    FailureWatch(const FailureWatch &) = delete;
    FailureWatch &operator=(const FailureWatch &) = delete;

    Failure failure() const { return m_failure; }
    int field() const { return m_field; } // the field that was not a number, else -1

    static void note(Failure failure, int field = -1);

private:
    Failure m_failure = Failure::None;
    int m_field = -1;
    FailureWatch *m_outer;
};

static_assert(std::numeric_limits<double>::is_iec559,
              "Num tells failures by IEEE 754 infinities and NaNs");

// A double that remembers whether any step that produced it went wrong: a division by zero, 0/0,
// an overflow, a NaN or a rejected function argument. Once failed it stays failed, even when a
// later step would bring the value back into range, so a formula can be written in plain
// arithmetic in exactly its evaluation order and checked once at the end.
class Num {
public:
    constexpr Num(double value) : m_value(value), m_ok(std::isfinite(value)) {}

    static constexpr Num failure() { return Num(0.0, false); }

    constexpr bool ok() const { return m_ok; }
    constexpr double value() const { return m_value; }

    friend constexpr Num operator+(Num a, Num b) { return combine(a, b, a.m_value + b.m_value); }
    friend constexpr Num operator-(Num a, Num b) { return combine(a, b, a.m_value - b.m_value); }
    friend constexpr Num operator*(Num a, Num b) { return combine(a, b, a.m_value * b.m_value); }
    friend constexpr Num operator/(Num a, Num b)
    {
        if (b.m_value == 0.0) {
            if (a.m_ok && b.m_ok)
                FailureWatch::note(Failure::DivisionByZero);
            return failure();
        }
        return combine(a, b, a.m_value / b.m_value);
    }
    friend constexpr Num operator-(Num a) { return Num(-a.m_value, a.m_ok); }

private:
    constexpr Num(double value, bool ok) : m_value(value), m_ok(ok) {}

    static constexpr Num combine(Num a, Num b, double result)
    {
        const bool ok = a.m_ok && b.m_ok;
        if (ok && !std::isfinite(result)) {
            FailureWatch::note(std::isnan(result) ? Failure::Invalid : Failure::Overflow);
            return Num(result, false);
        }
        return Num(result, ok);
    }

    double m_value;
    bool m_ok;
};

} // namespace zorvik
