// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/typedpage.h"
#include "examples/workedexamples.h"
#include "solver/explain.h"
#include "solver/solve.h"
#include "solver/texts.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorvik;
using namespace zorvik::test;

namespace {

struct Explained {
    FieldStore solved;
    std::vector<FieldExplanation> fields;
};

Explained explained(const OperationDefinition &operation, const Texts &typed)
{
    Explained result{typedPage(operation, typed), {}};
    SolveRecord record;
    solve(operation.relations, result.solved, {}, &record);
    result.fields = explainSolve(operation.relations, operation.captions(), record, result.solved);
    return result;
}

struct ExplanationCase {
    const char *name;
    std::string_view operation;
    Texts typed;
    std::string_view field;
    std::vector<std::string> lines; // whole lines the explanation holds, in this order
};

void PrintTo(const ExplanationCase &c, std::ostream *os)
{
    *os << c.name;
}

class Explanations : public testing::TestWithParam<ExplanationCase> {};

TEST_P(Explanations, SayHowAFieldGotItsTextOrWhyItHasNone)
{
    const ExplanationCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const Explained result = explained(operation, c.typed);
    const std::string &text =
        result.fields[static_cast<std::size_t>(fieldNamed(operation, c.field))].text;
    const std::vector<std::string> lines = linesOf(text);
    auto at = lines.begin();
    for (const std::string &expected : c.lines) {
        at = std::find(at, lines.end(), expected);
        ASSERT_NE(at, lines.end()) << "missing, or out of order: " << expected << "\nin:\n" << text;
    }
}

const Texts turningExample = workedExample("longitudinal").typed;

Texts turningExampleWith(std::string_view name, std::string_view text)
{
    Texts typed = turningExample;
    for (auto &[field, value] : typed) {
        if (field == name)
            value = text;
    }
    return typed;
}

// Five million characters, one byte more in UTF-8, and no number; and a long number.
const std::string longText = "é" + std::string(4'999'995, '7') + "1..2";
const std::string longNumber = "0." + std::string(101, '2');

const std::string speedFormula = "(Cutting Speed (m/min) × 1000) / (Initial Diameter (mm) × π)";

INSTANTIATE_TEST_SUITE_P(
    Table, Explanations,
    testing::Values(
        ExplanationCase{"rpmOfTheWorkedExample",
                        "longitudinal",
                        turningExample,
                        "txtrpm",
                        {"954.545454545455", "Written by rule 8b in pass 1:",
                         "Spindle Speed (R.P.M) = " + speedFormula, "= (150 × 1000) / (50 × π)",
                         "= 954.545454545455", "π = 22/7, as every window has it."}},
        ExplanationCase{"enlargementNamesTheDiameterItUsed",
                        "drilling",
                        {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtrpm", "400"}},
                        "txtcspeed",
                        {"25.1428571428571", "Written by rule 1a in pass 1:",
                         "Cutting Speed (m/min) = (Spindle Speed (R.P.M) × (Final Diameter (mm) "
                         "× π)) / 1000",
                         "= (400 × (20 × π)) / 1000"}},
        ExplanationCase{
            "enlargementNeedsBothDiametersAsNumbers",
            "drilling",
            {{"txtidiam", "12"}, {"txtfdiam", "2.0."}, {"txtfdiam2", "8"}, {"txtcspeed", "1..2"}},
            "txtrpm",
            {"  not applicable: it applies only when Initial Diameter (mm) and Final "
             "Diameter (mm) are numbers, and here 12 and \"2.0.\" are numbers does "
             "not hold.",
             "Rule 10a: Spindle Speed (R.P.M) = (Cutting Speed (m/min) × 1000) / "
             "(Hole Diameter (mm) × π)"}},
        ExplanationCase{"travelLengthReadLeniently",
                        "longitudinal",
                        turningExample,
                        "txtmtime",
                        {"0.544761904761905",
                         "Written by rule 9a in pass 2:", "= (1 × 104) / 190.909090909091",
                         "Once before the first pass: Travel Length (mm) = (lenient(Longitudinal "
                         "Length (mm)) + lenient(Inlet Length (mm))) + lenient(Outlet Length "
                         "(mm))",
                         "= (lenient(100) + lenient(2)) + lenient(2)", "= 104"}},
        ExplanationCase{"sourceNotANumberBlocksItsGroup",
                        "longitudinal",
                        turningExampleWith("txtfeed", "1..2"),
                        "txtfrate",
                        {"Blank: no rule filled it.",
                         "Rule 6a: Feed Rate (mm/min.) = Spindle Speed (R.P.M) × Feed (mm/rev)",
                         "  failed: Feed (mm/rev) holds \"1..2\", which is not a number.",
                         "Rule 6b: Feed Rate (mm/min.) = (No. Of Cuts × Travel Length (mm)) / "
                         "Machining Time (min.)",
                         "  not tried: rule 6a failed, and a failed rule ends its group."}},
        // A long text is quoted by its start and its length in characters, wherever it is
        // quoted.
        ExplanationCase{"longTextQuotedByItsStart",
                        "longitudinal",
                        turningExampleWith("txtfeed", longText),
                        "txtfeed",
                        {"\"é7777777777777777777…\" (5 000 000 characters)",
                         "Typed, but not a number: the Depth Of Cut rule (4c), the Feed Rate "
                         "rule (6a), the Spindle Speed rule (8a), the UnCut Chip Area rule "
                         "(11a) and the UnCut Chip Thickness rule (19a) cannot use it."}},
        ExplanationCase{"longTextQuotedWhereARuleFails",
                        "longitudinal",
                        turningExampleWith("txtfeed", longText),
                        "txtfrate",
                        {"  failed: Feed (mm/rev) holds \"é7777777777777777777…\" (5 000 000 "
                         "characters), which is not a number."}},
        ExplanationCase{"longNumberQuotedInAFormula",
                        "longitudinal",
                        turningExampleWith("txtfeed", longNumber),
                        "txtfrate",
                        {"= 954.545454545455 × \"0.222222222222222222…\" (103 characters)"}},
        ExplanationCase{"typedTextThatIsNotANumber",
                        "longitudinal",
                        turningExampleWith("txtfeed", "1..2"),
                        "txtfeed",
                        {"1..2", "Typed, but not a number: the Depth Of Cut rule (4c), the Feed "
                                 "Rate rule (6a), the Spindle Speed rule (8a), the UnCut Chip "
                                 "Area rule (11a) and the UnCut Chip Thickness rule (19a) cannot "
                                 "use it."}},
        ExplanationCase{"typedLengthReadLeniently",
                        "longitudinal",
                        turningExampleWith("txtlen", "1.200.0"),
                        "txtlen",
                        {"Typed, but not a number: read as 1.2 by the No. Of Cuts rule (5c), the "
                         "Feed Rate rule (6b) and the Machining Time rule (9a), which read up to "
                         "the first character that is not part of a number."}},
        ExplanationCase{"divisionByZero",
                        "longitudinal",
                        {{"txtidiam", "50"}, {"txtfdiam", "40"}, {"txtnoc", "0"}},
                        "txtdoc",
                        {"  failed: division by zero in (50 − 40) / (0 + 0).",
                         "Rule 4b: Depth Of Cut (mm/cut) = Machining Allowance (mm) / No. Of Cuts",
                         "  not tried: rule 4a failed, and a failed rule ends its group."}},
        ExplanationCase{"guardSourcesBlank",
                        "longitudinal",
                        {},
                        "txtrpm",
                        {"Blank: no rule filled it.",
                         "  not applicable: Feed Rate (mm/min.) and Feed (mm/rev) are blank.",
                         "  not applicable: Cutting Speed (m/min) and Initial Diameter (mm) are "
                         "blank."}},
        ExplanationCase{"sourceOutsideTheGuardBlank",
                        "longitudinal",
                        {{"txtangle", "90"}},
                        "txtct",
                        {"  failed: Feed (mm/rev) is blank."}},
        ExplanationCase{
            "fieldNoRuleFills", "longitudinal", {}, "txtlen", {"Blank: no rule fills it."}},
        ExplanationCase{"overflow",
                        "longitudinal",
                        {{"txtfeed", "1E+200"}, {"txtdoc", "1E+200"}},
                        "txtchip",
                        {"  failed: overflow beyond the double range in 1E+200 × 1E+200."}},
        ExplanationCase{"squareRootOfANegativeNumber",
                        "milling",
                        {{"txtdiam", "10"}, {"txtdoc", "20"}},
                        "txtcangle",
                        {"  failed: square root of a negative number in arcsine((2 × √((10 − 20) "
                         "× 20)) / 10), or 180 − that when 20 > 10 / 2.",
                         "arcsine(x) = (arctan(x / √(−x × x + 1)) × 180) / π, in degrees; at "
                         "x = ±1 it is that formula's limit, ±89.9637896255259 (the true π/2 "
                         "turned into degrees with π = 22/7), and it fails when x is below −1 "
                         "or above 1."}},
        ExplanationCase{"arcsineOutOfRange",
                        "milling",
                        {{"txtmax", "2"}, {"txtfpt", "1"}},
                        "txtcangle",
                        {"Rule 9b: Contact Angle = arcsine(Maximum UnCut Chip Thickness (mm) / "
                         "Feed Per Tooth)",
                         "  failed: arcsine out of range (−1 to 1) in arcsine(2 / 1)."}},
        ExplanationCase{"testOnAnAuxiliaryValue",
                        "drilling",
                        {{"txtoutlet", "0"}, {"txtmt", "5"}},
                        "txtfrate",
                        {"  not applicable: it applies only when Travel Length (mm) ≠ 0, and "
                         "here 0 ≠ 0 does not hold.",
                         "= (lenient(\"\") + lenient(0)) + lenient(\"\")"}},
        // The time is for the whole traverse and the whole stroke, allowances included.
        ExplanationCase{"shapingTimeOverWidthAndLengthWithAllowances",
                        "shaping",
                        {{"txtww", "102"}, {"txtwl", "210"}, {"txtf", "1"}, {"txtms", "10"}},
                        "txtmt",
                        {"Machining Time (min.) = (No. Of Cuts × ((Width + Feed Allowance (mm)) "
                         "× (2 × (Length + OverTravel (mm))))) / ((Feed (mm/Cycle) × Mean Speed "
                         "(m/min.)) × 1000)",
                         "= (1 × (102 × (2 × 210))) / ((1 × 10) × 1000)", "= 4.284"}},
        ExplanationCase{"drillingInletRule",
                        "drilling",
                        {{"txtfdiam2", "10"}},
                        "txtinlet",
                        {"Written by rule pre before the first pass:",
                         "Inlet Length (mm) = Hole Diameter (mm) / (2 × sin((Tool Point Angle "
                         "(Degrees) / 2) × (π / 180)))",
                         "= 10 / (2 × sin((118 / 2) × (π / 180)))"}},
        ExplanationCase{"chipWidthCopy",
                        "milling",
                        {{"txtcw", "5"}, {"txtchw", "7"}},
                        "txtchw",
                        {"5", "Copied by rule 25 at the end of pass 1, over whatever it held:",
                         "UnCut Chip Width (mm) = Cutter Width (mm)", "= 5",
                         "It held 7 before the solve."}},
        ExplanationCase{"halfToEvenRounding",
                        "milling",
                        {{"txtcangle", "90"}, {"txttangle", "36"}},
                        "txtnote",
                        {"2", "No. Of Teeth Engaged = round(Contact Angle / Tooth Angle)",
                         "= round(90 / 36)",
                         "round(x) is the nearest whole number, halves to the even one (2.5 "
                         "gives 2, 3.5 gives 4)."}}),
    [](const testing::TestParamInfo<ExplanationCase> &info) { return info.param.name; });

class WorkedExampleExplanations : public testing::TestWithParam<WorkedExample> {};

// Every field is explained, each explanation starts with the field's whole text, and exactly
// the fields the solve wrote say they were written.
TEST_P(WorkedExampleExplanations, CoverEveryFieldAndTellWrittenFromTyped)
{
    const WorkedExample &example = GetParam();
    const OperationDefinition &operation = operationNamed(example.operation);
    const Explained result = explained(operation, example.typed);
    const RelationList &list = operation.relations;
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const std::string &text = result.solved.text(static_cast<FieldId>(i));
        const FieldExplanation &explanation = result.fields[i];
        const std::vector<std::string> lines = linesOf(explanation.text);
        ASSERT_FALSE(lines.empty()) << list.fields[i];
        if (text.empty())
            EXPECT_TRUE(lines.front().starts_with("Blank: ")) << list.fields[i];
        else
            EXPECT_EQ(lines.front(), text) << list.fields[i];
        // Written and typed fields say how they got their text; a blank one may have no rule.
        EXPECT_TRUE(text.empty() || lines.size() >= 2) << list.fields[i];
        const bool written =
            std::any_of(example.results.begin(), example.results.end(),
                        [&](const auto &result) { return result.first == list.fields[i]; });
        EXPECT_EQ(explanation.written, written) << list.fields[i];
    }
}

INSTANTIATE_TEST_SUITE_P(Operations, WorkedExampleExplanations, testing::ValuesIn(workedExamples()),
                         byOperation);

// A chain longer than the passes: the explanation says the rule would now succeed.
TEST(Explanations, SayWhenThePassesRanOut)
{
    using V = const Values &;
    const RelationList list{.fields = {"txta", "txtb", "txtc"},
                            .groups = {{{"1", 2, {1}, "{b} × 2", [](V v) { return v[1] * 2; }}},
                                       {{"2", 1, {0}, "{a} + 1", [](V v) { return v[0] + 1; }}}},
                            .passes = 1};
    FieldStore store(3);
    store.setText(0, "4");
    SolveRecord record;
    solve(list, store, {}, &record);
    const auto fields = explainSolve(list, {"A", "B", "C"}, record, store);
    EXPECT_EQ(linesOf(fields[2].text),
              (std::vector<std::string>{"Blank: no rule filled it.", "Rule 1: C = B × 2",
                                        "  would now give 10, but the 1 passes ran out first."}));
}

} // namespace
