// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cmath>
#include <limits>

namespace zorvik {

// Why a number failed, as flags: a number computed from failed ones carries all of theirs.
enum Failure : unsigned char {
    NotANumber = 1,     // a field text the strict conversion rejects (a blank one included)
    DivisionByZero = 2, // also 0/0
    Overflow = 4,       // a result beyond the double range
    NegativeRoot = 8,   // the square root of a negative number
    ArcsineRange = 16,  // the arcsine of a number outside the open interval from -1 to 1
};

static_assert(std::numeric_limits<double>::is_iec559,
              "Num tells failures by IEEE 754 infinities and NaNs");

// A double that remembers whether any step that produced it went wrong, and how: a division by
// zero, 0/0, an overflow, a NaN or a rejected function argument. Once failed it stays failed,
// even when a later step would bring the value back into range, so a formula can be written in
// plain arithmetic in exactly its evaluation order and checked once at the end. The reasons are
// flags in one byte, as small as a single failed flag would be; only explanations read them.
class Num {
public:
    constexpr Num(double value) : m_value(value), m_failures(std::isfinite(value) ? 0 : Overflow) {}

    static constexpr Num failure(Failure why) { return Num(0.0, why); }

    constexpr bool ok() const { return m_failures == 0; }
    constexpr double value() const { return m_value; }
    // The Failure flags of every step that failed, 0 when none did.
    constexpr unsigned failures() const { return m_failures; }

    friend constexpr Num operator+(Num a, Num b) { return combine(a, b, a.m_value + b.m_value); }
    friend constexpr Num operator-(Num a, Num b) { return combine(a, b, a.m_value - b.m_value); }
    friend constexpr Num operator*(Num a, Num b) { return combine(a, b, a.m_value * b.m_value); }
    friend constexpr Num operator/(Num a, Num b)
    {
        if (b.m_value == 0.0)
            return Num(0.0, a.m_failures | b.m_failures | DivisionByZero);
        return combine(a, b, a.m_value / b.m_value);
    }
    friend constexpr Num operator-(Num a) { return Num(-a.m_value, a.m_failures); }

    // The same value, failed for why as well.
    constexpr Num failedFor(unsigned why) const { return Num(m_value, m_failures | why); }

private:
    constexpr Num(double value, unsigned failures)
        : m_value(value), m_failures(static_cast<unsigned char>(failures))
    {}

    static constexpr Num combine(Num a, Num b, double result)
    {
        return Num(result, a.m_failures | b.m_failures | (std::isfinite(result) ? 0 : Overflow));
    }

    double m_value;
    unsigned char m_failures;
};

} // namespace zorvik
