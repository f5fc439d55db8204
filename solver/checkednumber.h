#pragma once

#include <cmath>
#include <limits>

namespace zorvik {

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
        if (b.m_value == 0.0)
            return failure();
        return combine(a, b, a.m_value / b.m_value);
    }
    friend constexpr Num operator-(Num a) { return Num(-a.m_value, a.m_ok); }

private:
    constexpr Num(double value, bool ok) : m_value(value), m_ok(ok) {}

    static constexpr Num combine(Num a, Num b, double result)
    {
        return Num(result, a.m_ok && b.m_ok && std::isfinite(result));
    }

    double m_value;
    bool m_ok;
};

} // namespace zorvik
