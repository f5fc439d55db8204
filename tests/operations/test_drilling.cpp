// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/drilling/drillingrelations.h"
#include "solvecase.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class DrillingSolve : public testing::TestWithParam<SolveCase> {};

// As Calculate sees the window: the enlargement diameters have already fed the hole diameter.
TEST_P(DrillingSolve, WritesExactlyTheseTextsInThisOrder)
{
    EXPECT_EQ(solvedTrace("drilling", GetParam().given), GetParam().writes);
}

const Writes holeOf10{"0 pre txtinlet 5.83171515906378", "1 11a txtdoc 5",
                      "1 14a txtcw 5.83171515906378"};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, DrillingSolve,
    testing::Values(
        SolveCase{"EnlargementDrillsTheDifference",
                  {{"txtidiam", "20"}, {"txtfdiam", "30"}},
                  holeOf10},
        // The travel length is taken after the inlet rule: (5.83... + 3) + 20 over 100.
        SolveCase{"TravelLengthIncludesTheInletJustFound",
                  {{"txtfdiam2", "10"}, {"txtdepth", "20"}, {"txtfrate", "100"}},
                  {"0 pre txtinlet 5.83171515906378", "1 9a txtmt 0.288317151590638",
                   "1 11a txtdoc 5", "1 14a txtcw 5.83171515906378"}},
        // The travel waits a pass for an inlet that a hole diameter found in it would give.
        SolveCase{"FeedRateFromTimeAndTravel",
                  {{"txtdepth", "12"}, {"txtmt", "0.5"}},
                  {"2 3c txtfrate 30"}},
        // Once the pass finds the hole diameter, the inlet follows, and the time includes it.
        SolveCase{"InletOnceTheHoleDiameterIsFound",
                  {{"txtcspeed", "100"}, {"txtrpm", "1000"}, {"txtfeed", "0.2"},
                   {"txtdepth", "30"}, {"txtedge", ""}},
                  {"1 3a txtfrate 200", "1 12b txtfdiam2 31.8181818181818",
                   "1 14a txtcw 18.5554573242939", "2 pre txtinlet 18.5554573242939",
                   "2 9a txtmt 0.257777286621469", "2 11a txtdoc 15.9090909090909"}},
        SolveCase{"NoFeedRateFromTimeWithoutTravel",
                  {{"txtoutlet", "0"}, {"txtinlet", "abc"}, {"txtmt", "2"}},
                  {}},
        // Without a count of edges 5b and 17a are chosen and fail every pass, although 5c and 5d
        // could give the chip area; 18a is never chosen. Power and removal rate are those of
        // every lip, so neither comes from one lip's force or chip.
        SolveCase{"BlankEdgesBlockChipAreaAndTotalForce",
                  {{"txtedge", ""}, {"txtangle", ""}, {"txtfdiam2", "10"}, {"txtfeed", "0.2"},
                   {"txtcspeed", "20"}, {"txtmrr", "1000"}, {"txtcf1", "100"},
                   {"txtspcf", "2000"}},
                  {"1 10a txtrpm 636.363636363636", "1 11a txtdoc 5",
                   "2 3a txtfrate 127.272727272727", "2 9a txtmt 0.0235714285714286"}},
        // The hole diameter from removal rate, feed and speed does not depend on the lips.
        SolveCase{"HoleDiameterWithoutEdges",
                  {{"txtedge", ""}, {"txtangle", ""}, {"txtmrr", "1000"}, {"txtcspeed", "20"},
                   {"txtfeed", "0.2"}, {"txtrpm", "500"}},
                  {"1 3a txtfrate 100", "1 12a txtfdiam2 1", "2 9a txtmt 0.03",
                   "2 11a txtdoc 0.5"}}),
    caseName);
// clang-format on

class DrillingTexts : public testing::TestWithParam<TextCase> {};

TEST_P(DrillingTexts, AfterTheSolve)
{
    expectSolvedTexts("drilling", GetParam());
}

// The lip lies at half the point angle: h = fz sin(sigma / 2), b = D / (2 sin(sigma / 2)).
// Opening a hole, the speeds are those of the tool's corner on the final diameter, and removal
// rate and power are those of the whole ring, (Df + Di) / Df times the solid figures.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, DrillingTexts,
    testing::Values(
        TextCase{"EnlargementSpindleSpeedOnTheFinalDiameter",
                 {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtcspeed", "25"},
                  {"txtfeed", "0.15"}, {"txtdepth", "30"}},
                 {{"txtfdiam2", "8"}, {"txtrpm", "397.727272727273"},
                  {"txtfrate", "59.6590909090909"}, {"txtmt", "0.631343380418684"},
                  {"txtmrr", "12000"}}},
        TextCase{"EnlargementCuttingSpeedOnTheFinalDiameter",
                 {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtrpm", "400"},
                  {"txtfeed", "0.15"}, {"txtdepth", "30"}},
                 {{"txtcspeed", "25.1428571428571"}, {"txtmrr", "12068.5714285714"}}},
        TextCase{"EnlargementSpeedFromTheRingsRemovalRate",
                 {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtmrr", "12000"},
                  {"txtfeed", "0.15"}},
                 {{"txtcspeed", "25"}}},
        // kc 2000 N/mm² on 200 mm³/s of ring is 400 W.
        TextCase{"EnlargementPowerOverTheRing",
                 {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtcspeed", "25"},
                  {"txtfeed", "0.15"}, {"txtspcf", "2000"}},
                 {{"txtcf1", "600"}, {"txtcp", "400"}}},
        // The published example: f·vc·D·kc / 240 000 = 3.67 kW.
        TextCase{"PowerFromSpecificCuttingForce",
                 {{"txtfdiam2", "20"}, {"txtfeed", "0.2"}, {"txtcspeed", "100"},
                  {"txtspcf", "2200"}},
                 {{"txtarea", "1"}, {"txtcf1", "2200"}, {"txtcp", "3666.66666666667"}}},
        // Without both diameters as numbers the hole diameter is all there is.
        TextCase{"HoleDiameterWhenAnEnlargementDiameterIsNoNumber",
                 {{"txtidiam", "12"}, {"txtfdiam", "2.0."}, {"txtfdiam2", "8"},
                  {"txtrpm", "400"}},
                 {{"txtcspeed", "10.0571428571429"}}},
        TextCase{"PointAngle140",
                 {{"txtfdiam2", "10"}, {"txtrpm", "500"}, {"txtfpt", "0.1"}, {"txtangle", "140"}},
                 {{"txtct", "0.0939860694141691"}, {"txtcw", "5.3199373387629"},
                  {"txtinlet", "5.3199373387629"}}},
        // A flat drill: a lip angle of 90 degrees, short of a whole sine only through pi = 22/7.
        TextCase{"FlatPoint",
                 {{"txtfdiam2", "10"}, {"txtrpm", "500"}, {"txtfpt", "0.1"}, {"txtangle", "180"}},
                 {{"txtct", "0.0999999800133368"}, {"txtcw", "5.00000099933336"}}},
        TextCase{"ZeroPointAngle",
                 {{"txtfdiam2", "10"}, {"txtfpt", "0.1"}, {"txtangle", "0"}},
                 {{"txtcw", ""}, {"txtinlet", ""}}}),
    caseName);
// clang-format on

struct EnlargementCase {
    const char *name;
    const char *initial;
    const char *final;
    const char *holeBefore;
    const char *holeAfter;
};

class HoleEnlargement : public testing::TestWithParam<EnlargementCase> {};

TEST_P(HoleEnlargement, HoleDiameterIsFinalMinusInitial)
{
    const EnlargementCase &c = GetParam();
    FieldStore store =
        storeWith(operationNamed("drilling"),
                  {{"txtidiam", c.initial}, {"txtfdiam", c.final}, {"txtfdiam2", c.holeBefore}});
    bool written = drilling::enlargeHole(store);
    EXPECT_EQ(store.text(drilling::fdiam2), c.holeAfter);
    EXPECT_EQ(written, std::string(c.holeBefore) != c.holeAfter);
    EXPECT_EQ(store.text(drilling::idiam), c.initial);
    EXPECT_EQ(store.text(drilling::fdiam), c.final);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, HoleEnlargement,
    testing::Values(EnlargementCase{"Opens", "20", "30", "", "10"},
                 EnlargementCase{"ShrinksToANegativeHole", "30", "20", "", "-10"},
                 EnlargementCase{"ReplacesTheHole", "20", "30.5", "7", "10.5"},
                 EnlargementCase{"InitialBlank", "", "30", "7", "7"},
                 EnlargementCase{"FinalBlank", "20", "", "", ""},
                 EnlargementCase{"InitialNoNumber", "2.0.", "30", "7", "7"},
                 EnlargementCase{"FinalNoNumber", "20", ".", "7", "7"},
                 EnlargementCase{"DifferenceOverflows", "1E308", "-1E308", "7", "7"}),
    [](const testing::TestParamInfo<EnlargementCase> &info) { return info.param.name; });
// clang-format on

} // namespace
