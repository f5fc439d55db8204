#include "solver/numerics.h"

#include <cmath>

namespace zorvik {

namespace {
thread_local FailureWatch *currentWatch = nullptr;

Num apply(Num x, double (*function)(double))
{
    if (!x.ok())
        return Num::failure();
    return Num(function(x.value()));
}
} // namespace

FailureWatch::FailureWatch() : m_outer(currentWatch)
{
    currentWatch = this;
}

FailureWatch::~FailureWatch()
{
    currentWatch = m_outer;
}

void FailureWatch::note(Failure failure, int field)
{
    FailureWatch *watch = currentWatch;
    if (!watch || watch->m_failure != Failure::None)
        return;
    watch->m_failure = failure;
    watch->m_field = field;
}

Num sine(Num radians)
{
    return apply(radians, [](double v) { return std::sin(v); });
}

Num squareRoot(Num x)
{
    if (x.ok() && x.value() < 0) {
        FailureWatch::note(Failure::NegativeRoot);
        return Num::failure();
    }
    return apply(x, [](double v) { return std::sqrt(v); });
}

Num arctangent(Num x)
{
    return apply(x, [](double v) { return std::atan(v); });
}

Num degreeArcsine(Num x)
{
    // Named before the steps below fail on it, so the watch hears the cause, not its symptom.
    if (x.ok() && !(std::fabs(x.value()) < 1))
        FailureWatch::note(Failure::ArcsineRange);
    Num t = -x * x + 1;
    Num s = squareRoot(t);
    Num q = x / s;
    Num r = arctangent(q);
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

} // namespace zorvik
