// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/numerics.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <limits>

using namespace zorvik;

namespace {

struct RoundCase {
    double value;
    double rounded;
};

void PrintTo(const RoundCase &c, std::ostream *os)
{
    *os << std::hexfloat << c.value;
}

const RoundCase roundCases[] = {
    {0.5, 0.0},
    {1.5, 2.0},
    {2.5, 2.0},
    {3.5, 4.0},
    {-0.5, -0.0},
    {-1.5, -2.0},
    {-2.5, -2.0},
    {0.49999999999999994, 0.0}, // the largest double below 0.5
    {-0.49999999999999994, -0.0},
    {0.5000000000000001, 1.0},
    {2.4999999999999996, 2.0},
    {1366.5, 1366.0},
    {799.5, 800.0},
    {600.5000001, 601.0},
    {-7.25, -7.0},
    {-7.75, -8.0},
    {2251799813685248.5, 2251799813685248.0}, // 2^51 + 0.5: the last halves
    {2251799813685249.5, 2251799813685250.0},
    {-2251799813685249.5, -2251799813685250.0},
    {4503599627370495.5, 4503599627370496.0}, // 2^52 - 0.5
    {4503599627370497.0, 4503599627370497.0}, // 2^52 + 1: no fraction left to round
    {1e300, 1e300},
    {5e-324, 0.0},
    {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity()},
    {-std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()},
};

void expectRounded(const RoundCase &c)
{
    const double rounded = roundHalfEven(c.value);
    EXPECT_EQ(rounded, c.rounded);
    EXPECT_EQ(std::signbit(rounded), std::signbit(c.rounded));
}

class RoundHalfEven : public testing::TestWithParam<RoundCase> {};

TEST_P(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    expectRounded(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, RoundHalfEven, testing::ValuesIn(roundCases));

TEST(RoundHalfEven, NotANumberStaysNotANumber)
{
    EXPECT_TRUE(std::isnan(roundHalfEven(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_FALSE(roundHalfEven(Num::failure(NotANumber)).ok());
    EXPECT_EQ(roundHalfEven(Num(2.5)).value(), 2.0);
}

// Another part of the process (a plug-in, a library) may leave a directed rounding mode set.
class RoundHalfEvenUnderMode : public testing::TestWithParam<int> {};

TEST_P(RoundHalfEvenUnderMode, IgnoresAndKeepsTheRoundingMode)
{
    const int previous = std::fegetround();
    ASSERT_EQ(std::fesetround(GetParam()), 0);
    for (const RoundCase &c : roundCases) {
        SCOPED_TRACE(testing::PrintToString(c));
        expectRounded(c);
        if (std::isfinite(c.value)) {
            EXPECT_EQ(roundHalfEven(Num(c.value)).value(), c.rounded);
        }
    }
    const int after = std::fegetround();
    std::fesetround(previous);
    EXPECT_EQ(after, GetParam());
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundHalfEvenUnderMode,
                         testing::Values(FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO));

} // namespace
