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
        // Torque in N.m: half of 100 mm times 636.36... N, over 1000.
        SolveCase{"WorkedExample",
                  {{"txtdiam", "100"}, {"txtcw", "20"}, {"txtih", "30"}, {"txtfh", "25"},
                   {"txtnot", "10"}, {"txtrpm", "200"}, {"txtfpt", "0.1"}, {"txtspcf", "2000"},
                   {"txtmeff", "0.9"}, {"txteeff", "0.8"}},
                  {"1 1a txtcs 62.8571428571429", "1 3a txtf 1", "1 5a txtfr 200",
                   "1 7a txtall 5", "1 16a txttangle 36", "1 21a txteff 0.72",
                   "1 25 txtchw 20", "2 6a txtdoc 5", "2 9a txtcangle 25.831535584695",
                   "2 10a txtmax 0.0435889894354067", "2 12a txtct 0.0223606797749979",
                   "2 13a txtca 0.447213595499958", "2 14a txtmrr 20000", "2 15a txtnote 1",
                   "3 11a txtmin 0.0159090909090909", "3 17a txtcf 636.363636363636",
                   "3 18a txttorq 31.8181818181818", "3 19a txtcp 666.666666666667",
                   "3 20a txtspcp 0.0333333333333333", "3 24a txtmp 925.925925925926"}},
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

} // namespace
