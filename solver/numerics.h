// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"

namespace zorvik {

// Every formula of every operation reads this one value of pi; the calculations are defined on
// 22/7, not on the true constant, and results are only reproducible with it.
inline constexpr double pi = 22.0 / 7.0;

Num sine(Num radians);
Num squareRoot(Num x); // fails for a negative argument
Num arctangent(Num x);

// Degrees whose sine is x, computed as atan(x / sqrt(1 - x*x)) * 180 / pi. At |x| == 1 it gives
// that formula's limit, +-(pi/2 * 180 / pi) with the true pi/2 over 22/7 (+-89.9637896255259);
// beyond it fails.
Num degreeArcsine(Num x);

// Whole numbers: halves go to the even neighbour (2.5 -> 2, 3.5 -> 4), whatever rounding mode
// the floating-point environment is in; the environment is neither read nor changed.
double roundHalfEven(double value);
Num roundHalfEven(Num x);
Num truncateTowardZero(Num x);
// A count that is the whole part of a ratio. scale is the size of the ratio's operands over its
// divisor (|a| + |b|) / |c| for (a − b) / c: a ratio short of a whole number by no more than the
// rounding those operands' binary values can carry into it counts as that whole number, as it
// does on paper. (50.3 − 50) / 0.1 is 2.99999999999997 in binary: three cuts, not two.
Num truncateCount(Num ratio, double scale);

} // namespace zorvik
