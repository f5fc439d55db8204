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
        // The arcsine of exactly 1 is its formula's limit, a right angle with pi = 22/7.
        SolveCase{"DepthOfHalfTheDiameter",
                  {{"txtdiam", "100"}, {"txtdoc", "50"}, {"txtfpt", "0.1"}, {"txtnot", "10"},
                   {"txtnote", "1"}},
                  {"1 3a txtf 1", "1 9a txtcangle 89.9637896255259", "1 10a txtmax 0.1",
                   "1 11a txtmin 0.159090909090909", "1 12a txtct 0.0707106781186548",
                   "1 16a txttangle 36"}},
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

class MillingTexts : public testing::TestWithParam<TextCase> {};

TEST_P(MillingTexts, AfterTheSolve)
{
    expectSolvedTexts("milling", GetParam());
}

TextCase depthOnCutter100(const char *name, const char *depth, const char *angle)
{
    return {name, {{"txtdiam", "100"}, {"txtdoc", depth}}, {{"txtcangle", angle}}};
}

// A job with several teeth in the cut: the worked example's cutter and speeds on a slot.
Texts slotWith(std::string_view depth)
{
    return {{"txtdiam", "100"}, {"txtdoc", depth},  {"txtnot", "10"},
            {"txtrpm", "200"},  {"txtfpt", "0.1"},  {"txtspcf", "2000"},
            {"txtcw", "20"},    {"txtmeff", "0.9"}, {"txteeff", "0.8"}};
}

// Past half the diameter the angle is obtuse; at exactly half the arcsine is at its limit, and
// past the whole diameter the square root fails.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MillingTexts,
    testing::Values(
        depthOnCutter100("JustShallow", "49.9", "89.8492440946134"),
        depthOnCutter100("HalfTheDiameter", "50", "89.9637896255259"),
        depthOnCutter100("JustDeep", "50.1", "90.1507559053866"),
        depthOnCutter100("Deep", "80", "126.891273878089"),
        depthOnCutter100("WholeDiameter", "100", "180"),
        depthOnCutter100("BeyondTheDiameter", "101", ""),
        // Five teeth cut at once, so the power is five times one tooth's force at that speed,
        // and the power per removed volume the single tooth's.
        TextCase{"PowerOfEveryEngagedTooth", slotWith("100"),
                 {{"txtnote", "5"}, {"txtmax", "0.1"}, {"txtcp", "13333.3333333333"},
                  {"txtspcp", "0.0333333333333332"}, {"txtmp", "18518.5185185185"}}},
        TextCase{"EverythingOnAHalfImmersion", slotWith("50"),
                 {{"txtcangle", "89.9637896255259"}, {"txtnote", "2"}, {"txtmax", "0.1"},
                  {"txtct", "0.0707106781186548"}, {"txtmin", "0.0795454545454545"},
                  {"txtcf", "3181.81818181818"}, {"txttorq", "318.181818181818"},
                  {"txtcp", "6666.66666666667"}, {"txtmp", "9259.25925925926"}}},
        TextCase{"SpeedFromPowerOfEveryEngagedTooth",
                 {{"txtcp", "5000"}, {"txtcf", "2000"}, {"txtnote", "2"}},
                 {{"txtcs", "75"}}},
        TextCase{"ForceFromPowerOfEveryEngagedTooth",
                 {{"txtcp", "5000"}, {"txtcs", "150"}, {"txtnote", "2"}},
                 {{"txtcf", "1000"}}},
        TextCase{"NoSpeedFromPowerWithoutTheTeethEngaged",
                 {{"txtcp", "5000"}, {"txtcf", "2000"}},
                 {{"txtcs", ""}}},
        // From a right angle on, the tooth has cut a whole feed per tooth.
        TextCase{"MaximumChipOfAnObtuseContact",
                 {{"txtfpt", "0.1"}, {"txtcangle", "120"}},
                 {{"txtmax", "0.1"}}},
        TextCase{"MaximumChipJustShortOfARightAngle",
                 {{"txtfpt", "0.1"}, {"txtcangle", "89.9"}},
                 {{"txtmax", "0.0999999379739198"}}}),
    caseName);
// clang-format on

} // namespace
