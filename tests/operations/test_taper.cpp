// SPDX-License-Identifier: GPL-3.0-or-later
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
