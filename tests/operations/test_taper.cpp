#include "operations/turning/taperrelations.h"
#include "solvecase.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class TaperSolve : public testing::TestWithParam<SolveCase> {};

TEST_P(TaperSolve, WritesExactlyTheseTextsInThisOrder)
{
    EXPECT_EQ(solvedTrace("taper", GetParam().given), GetParam().writes);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, TaperSolve,
    testing::Values(
        // Spindle speed from the mean diameter 45, the included angle in degrees.
        SolveCase{"WorkedExample",
                  {{"txtdl", "50"}, {"txtds", "40"}, {"txttl", "100"}, {"txtwl", "200"},
                   {"txtcspeed", "60"}, {"txtfeed", "0.2"}, {"txtchip", "0.4"}, {"txtcf", "800"},
                   {"txtmeff", "0.9"}, {"txteeff", "0.8"}},
                  {"1 4b txtrpm 424.242424242424", "1 8a txtmrr 24000", "1 10a txtcp 800",
                   "1 11a txteff 0.72", "1 12a txtmp 1111.11111111111", "1 15a txtratio 0.1",
                   "1 16a txtangle 5.72250714633163", "1 17a txtset 10",
                   "2 2a txtfrate 84.8484848484848", "2 5a txtmtime 1.17857142857143"}},
        SolveCase{"PlainCylinderStillHasASpindleSpeed",
                  {{"txtdl", "50"}, {"txtds", "50"}, {"txttl", "100"}, {"txtcspeed", "60"}},
                  {"1 4b txtrpm 381.818181818182", "1 15a txtratio 0", "1 16a txtangle 0"}},
        SolveCase{"CuttingSpeedFromMeanDiameter",
                  {{"txtdl", "50"}, {"txtds", "40"}, {"txtrpm", "1000"}},
                  {"1 6a txtcspeed 141.428571428571"}},
        // A ratio of 1 is a right angle between the flanks, short of 90 only through pi = 22/7.
        SolveCase{"SteepTaperAngleInDegrees",
                  {{"txtdl", "60"}, {"txtds", "40"}, {"txttl", "10"}},
                  {"1 15a txtratio 2", "1 16a txtangle 89.9637896255259"}},
        SolveCase{"BlankTaperLengthGivesZeroTime", {{"txtfrate", "100"}}, {"1 5a txtmtime 0"}},
        SolveCase{"CountNeedsATaperLength",
                  {{"txtmtime", "2"}, {"txtfrate", "100"}, {"txtnoc", ""}},
                  {}},
        // The taper length is read leniently for the time, strictly for ratio, angle, set-over.
        SolveCase{"MalformedTaperLengthStillTimesTheCut",
                  {{"txttl", "100.5."}, {"txtnoc", "2"}, {"txtfrate", "50"}, {"txtdl", "50"},
                   {"txtds", "40"}, {"txtwl", "200"}},
                  {"1 5a txtmtime 4.02"}}),
    caseName);
// clang-format on

} // namespace
