// SPDX-License-Identifier: GPL-3.0-or-later
#include "solvecase.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class TurningSolve : public testing::TestWithParam<SolveCase> {};

// The face list is the turning list but for the allowance and the diameter the speeds are
// taken on, so a row is for both windows unless it names one.
TEST_P(TurningSolve, WritesExactlyTheseTextsInThisOrder)
{
    for (const char *operation : {"longitudinal", "face"}) {
        if (!GetParam().operation || std::string_view(GetParam().operation) == operation) {
            EXPECT_EQ(solvedTrace(operation, GetParam().given), GetParam().writes) << operation;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, TurningSolve,
    testing::Values(
        // A zero count fails rule 4a in every pass, so 4c is never reached.
        SolveCase{"ZeroCountBlocksDepthOfCut",
                  {{"txtidiam", "50"},
                   {"txtfdiam", "40"},
                   {"txtnoc", "0"},
                   {"txtchip", "1"},
                   {"txtfeed", "0.2"}},
                  {"1 1a txtallowance 5"},
                  "longitudinal"},
        SolveCase{"FaceAllowanceIsTheWholeLengthDifference",
                  {{"txtidiam", "50"},
                   {"txtfdiam", "40"},
                   {"txtnoc", "0"},
                   {"txtchip", "1"},
                   {"txtfeed", "0.2"}},
                  {"1 1a txtallowance 10"},
                  "face"},
        SolveCase{"FaceLengthsFromAllowanceAndCuts",
                  {{"txtfdiam", "40"}, {"txtdoc", "2"}, {"txtnoc", "3"}},
                  {"1 1b txtallowance 6", "1 2a txtidiam 46"},
                  "face"},
        // The face is cut on twice its radius, whatever its lengths.
        SolveCase{"FaceSpeedOnTheRadius",
                  {{"txtidiam", "80"}, {"txtlen", "30"}, {"txtrpm", "500"}},
                  {"1 10a txtcspeed 94.2857142857143"},
                  "face"},
        // The speeds tell the diameter of a turned part, but nothing of a faced part's length.
        SolveCase{
            "FaceLengthNotFromTheSpeeds", {{"txtcspeed", "100"}, {"txtrpm", "500"}}, {}, "face"},
        SolveCase{"CountFromTimeAndTravel",
                  {{"txtrpm", "1000"}, {"txtfeed", "0.25"}, {"txtmtime", "2"}, {"txtnoc", ""}},
                  {"1 6a txtfrate 250", "2 5c txtnoc 125"}},
        SolveCase{"SpeedFromPowerAndForce",
                  {{"txtcp", "5000"}, {"txtcf", "2000"}},
                  {"1 10c txtcspeed 150"}},
        SolveCase{"ZeroTravelLength",
                  {{"txtinlet", ""}, {"txtoutlet", ""}, {"txtmtime", "2"}},
                  {"1 6b txtfrate 0"}},
        SolveCase{
            "ChipFromAngle30",
            {{"txtnoc", ""}, {"txtangle", "30"}, {"txtfeed", "0.2"}, {"txtdoc", "2"}},
            {"1 11a txtchip 0.4", "1 19a txtct 0.100036500439934", "1 20a txtcw 3.99854051512104"}},
        SolveCase{"ZeroAngleFailsChipWidth",
                  {{"txtnoc", ""}, {"txtangle", "0"}, {"txtfeed", "0.2"}, {"txtdoc", "2"}},
                  {"1 11a txtchip 0.4", "1 19a txtct 0"}},
        SolveCase{"NegativeAllowancePropagates",
                  {{"txtidiam", "40"}, {"txtfdiam", "50"}},
                  {"1 1a txtallowance -5", "1 4a txtdoc -5"},
                  "longitudinal"},
        SolveCase{"MalformedAngleFailsBeforeFeedIsRead",
                  {{"txtangle", "1..2"}, {"txtfeed", "0.2"}, {"txtdoc", "2"}},
                  {"1 1b txtallowance 2", "1 11a txtchip 0.4"}}),
    caseName);

} // namespace
