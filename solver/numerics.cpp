#include "solver/numerics.h"

#include <cmath>

namespace zorvik {

namespace {
Num apply(Num x, double (*function)(double))
{
    if (!x.ok())
        return Num::failure();
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
        return Num::failure();
    return apply(x, [](double v) { return std::sqrt(v); });
}

Num arctangent(Num x)
{
    return apply(x, [](double v) { return std::atan(v); });
}

Num degreeArcsine(Num x)
{
    Num t = -x * x + 1;
    Num s = squareRoot(t);
    Num q = x / s;
    Num r = arctangent(q);
    return r * 180 / pi;
}

Num roundHalfEven(Num x)
{
    return apply(x, [](double v) { return std::nearbyint(v); });
}

Num truncateTowardZero(Num x)
{
    return apply(x, [](double v) { return std::trunc(v); });
}

} // namespace zorvik
