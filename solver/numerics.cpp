// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/numerics.h"

#include <cmath>
#include <limits>
#include <numbers>

namespace zorvik {

namespace {
Num apply(Num x, double (*function)(double))
{
    if (!x.ok())
        return x;
    return Num(function(x.value()));
}
} // namespace

Num sine(Num radians)
{
    return apply(radians, [](double v) { return std::sin(v); });
}

Num squareRoot(Num x)
{
    if (x.ok() && x.value() < 0)
        return Num::failure(NegativeRoot);
    return apply(x, [](double v) { return std::sqrt(v); });
}

Num arctangent(Num x)
{
    return apply(x, [](double v) { return std::atan(v); });
}

Num degreeArcsine(Num x)
{
    // At exactly +-1 the quotient below divides by zero; its limit is the arctangent's own
    // +-pi/2 (the true one), turned into degrees with 22/7 like every other angle.
    if (x.ok() && std::fabs(x.value()) == 1)
        return Num(std::copysign(std::numbers::pi / 2, x.value())) * 180 / pi;
    Num t = -x * x + 1;
    Num s = squareRoot(t);
    Num q = x / s;
    Num r = arctangent(q);
    // The steps above fail on such an x too, but as a root or a division the user never wrote.
    if (x.ok() && !(std::fabs(x.value()) < 1))
        return Num::failure(ArcsineRange);
    return r * 180 / pi;
}

// std::round and the halfway test are exact and ignore the rounding mode: r - value is exact
// because r lies within a factor of two of value (or is 0), and value / 2 is exact for every
// value that can be a half.
double roundHalfEven(double value)
{
    const double rounded = std::round(value);
    if (std::fabs(rounded - value) != 0.5)
        return rounded;
    return 2.0 * std::round(value / 2.0);
}

Num roundHalfEven(Num x)
{
    return apply(x, roundHalfEven);
}

Num truncateTowardZero(Num x)
{
    return apply(x, [](double v) { return std::trunc(v); });
}

Num truncateCount(Num ratio, double scale)
{
    if (!ratio.ok())
        return ratio;
    // Each operand is within half a unit in the last of the 15 significant digits a result is
    // written with (a page typed back from one carries that), 5e-15 of it; the subtraction and
    // the division add a few epsilons more: 1e-14 of the scale in all.
    constexpr double roundings = 1e-14;
    const double whole = std::round(ratio.value());
    if (std::fabs(ratio.value() - whole) <= roundings * std::fabs(scale))
        return Num(whole);
    return truncateTowardZero(ratio);
}

} // namespace zorvik
