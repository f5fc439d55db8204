// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/milling/millingrelations.h"
#include "solvecase.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class MillingSolve : public testing::TestWithParam<SolveCase> {};

TEST_P(MillingSolve, WritesExactlyTheseTextsInThisOrder)
{
    EXPECT_EQ(solvedTrace("milling", GetParam().given), GetParam().writes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MillingSolve,
    testing::Values(
        SolveCase{"ContactAngleFromDepthOfCut",
                  {{"txtdiam", "100"}, {"txtdoc", "40"}, {"txtfpt", "0.1"}},
                  {"1 9a txtcangle 78.4314723438979", "1 10a txtmax 0.0979795897113271",
                   "1 12a txtct 0.0632455532033676"}},
        // The arcsine of exactly 1 fails, and with 9a failing 9c never gives the angle.
        SolveCase{"DepthOfHalfTheDiameterLeavesNoContactAngle",
                  {{"txtdiam", "100"}, {"txtdoc", "50"}, {"txtfpt", "0.1"}, {"txtnot", "10"},
                   {"txtnote", "1"}},
                  {"1 3a txtf 1", "1 11a txtmin 0.159090909090909", "1 16a txttangle 36"}},
        SolveCase{"DepthBeyondTheDiameterLeavesNoContactAngle",
                  {{"txtdiam", "10"}, {"txtdoc", "20"}, {"txtnot", "10"}, {"txtnote", "1"}},
                  {"1 16a txttangle 36"}},
        SolveCase{"TeethEngagedHalfGoesDownToEven",
                  {{"txtnot", "10"}, {"txtcangle", "90"}},
                  {"1 15b txtnote 2", "1 16a txttangle 36"}},
        SolveCase{"TeethEngagedHalfGoesUpToEven",
                  {{"txtnot", "10"}, {"txtcangle", "126"}},
                  {"1 15b txtnote 4", "1 16a txttangle 36"}},
        SolveCase{"CutterWidthOverwritesChipWidth",
                  {{"txtcw", "8"}, {"txtchw", "5"}},
                  {"1 25 txtchw 8"}},
        SolveCase{"EqualChipWidthIsNotRewritten", {{"txtcw", "8"}, {"txtchw", "8"}}, {}},
        // The copy keeps the text as typed, not its number.
        SolveCase{"CopyKeepsTheText", {{"txtcw", "08.50"}}, {"1 25 txtchw 08.50"}}),
    caseName);
// clang-format on

class MillingContactAngle : public testing::TestWithParam<TextCase> {};

TEST_P(MillingContactAngle, FromDepthOfCutOnBothSidesOfHalfTheDiameter)
{
    expectSolvedTexts("milling", GetParam());
}

TextCase depthOnCutter100(const char *name, const char *depth, const char *angle)
{
    return {name, {{"txtdiam", "100"}, {"txtdoc", depth}}, {{"txtcangle", angle}}};
}

// Past half the diameter the angle is obtuse; at exactly half the arcsine of 1 fails, and past
// the whole diameter the square root does.
INSTANTIATE_TEST_SUITE_P(Table, MillingContactAngle,
                         testing::Values(depthOnCutter100("JustShallow", "49.9",
                                                          "89.8492440946134"),
                                         depthOnCutter100("HalfTheDiameter", "50", ""),
                                         depthOnCutter100("JustDeep", "50.1", "90.1507559053866"),
                                         depthOnCutter100("Deep", "80", "126.891273878089"),
                                         depthOnCutter100("WholeDiameter", "100", "180"),
                                         depthOnCutter100("BeyondTheDiameter", "101", "")),
                         caseName);

} // namespace
