// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/shaping/shapingrelations.h"
#include "solvecase.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class ShapingSolve : public testing::TestWithParam<SolveCase> {};

TEST_P(ShapingSolve, WritesExactlyTheseTextsInThisOrder)
{
    EXPECT_EQ(solvedTrace("shaping", GetParam().given), GetParam().writes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, ShapingSolve,
    testing::Values(
        SolveCase{"BullGearFromReturnStroke",
                  {{"txtrangle", "120"}, {"txtrs", "9"}, {"txtl", "300"}},
                  {"1 10 txtrpm 10", "1 13 txtctime 0.0666666666666667",
                   "1 17 txtrtime 0.0333333333333333", "1 21 txttime 0.1", "2 2 txtcs 4.5",
                   "2 7 txtms 6"}},
        // Rule 2 is applicable first and divides by zero in every pass.
        SolveCase{"ZeroCuttingTimeBlocksCuttingSpeed",
                  {{"txtl", "300"}, {"txtctime", "0"}, {"txtrpm", "10"}},
                  {"1 6 txtrs 9", "1 17 txtrtime 0.0333333333333333",
                   "1 21 txttime 0.0333333333333333"}},
        // Rule 21 adds 1 and the 1.2 read from 1.2.3; rule 9 fails on it and blocks group 5.
        SolveCase{"CycleTimeReadsStrokeTimesLeniently",
                  {{"txtctime", "1.2.3"}, {"txtrtime", "1"}},
                  {"1 21 txttime 2.2"}},
        SolveCase{"BullGearFromLenientCycleTime",
                  {{"txttime", "0.5x"}},
                  {"1 12 txtrpm 2", "1 13 txtctime 0.333333333333333",
                   "1 17 txtrtime 0.166666666666667"}},
        SolveCase{"CycleTimeWithoutNumberDividesByZero", {{"txttime", "."}}, {}},
        SolveCase{"CutsAreTruncated",
                  {{"txtit", "10"}, {"txtft", "3"}, {"txtdoc", "2"}, {"txtnoc", ""}},
                  {"1 25 txtnoc 3", "1 49 txtall 7"}},
        // (50.3 - 50) / 0.1 is 2.99999999999997 in binary: three cuts on paper.
        SolveCase{"CutsOfADecimalRatioThatIsWhole",
                  {{"txtit", "50.3"}, {"txtft", "50"}, {"txtdoc", "0.1"}, {"txtnoc", ""}},
                  {"1 25 txtnoc 3", "1 49 txtall 0.299999999999997"}},
        SolveCase{"NegativeCutsAreTruncatedTowardZero",
                  {{"txtit", "3"}, {"txtft", "10"}, {"txtdoc", "2"}, {"txtnoc", ""}},
                  {"1 25 txtnoc -3", "1 49 txtall -7"}},
        SolveCase{"DepthFromDefaultCount",
                  {{"txtit", "10"}, {"txtft", "3"}},
                  {"1 36 txtdoc 7", "1 49 txtall 7"}},
        SolveCase{"AnglesFromStrokeTimes",
                  {{"txtcangle", ""}, {"txtrangle", ""}, {"txtrpm", "10"},
                   {"txtctime", "0.05"}, {"txtrtime", "0.05"}},
                  {"1 21 txttime 0.1", "1 38 txtcangle 180", "1 42 txtrangle 180"}}),
    caseName);
// clang-format on

} // namespace
