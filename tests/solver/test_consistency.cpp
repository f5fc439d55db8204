// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/consistency.h"
#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "tests/support/randompage.h"
#include "wording/wording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <optional>
#include <random>
#include <set>

using namespace zorvik;
using namespace zorvik::test;

namespace {

struct Solved {
    FieldStore page;
    FieldSources sources;
};

Solved solved(const OperationDefinition &operation, FieldStore page)
{
    if (operation.prepare)
        operation.prepare(page);
    SolveRecord record;
    solve(operation.relations, page, {}, &record);
    return {page, solveSources(operation.relations, record)};
}

std::vector<FieldId> idsOf(const OperationDefinition &operation,
                           const std::vector<std::string_view> &names)
{
    std::vector<FieldId> ids;
    for (std::string_view name : names)
        ids.push_back(fieldNamed(operation, name));
    return ids;
}

std::string listed(const OperationDefinition &operation, const FieldStore &page,
                   const std::vector<Disagreement> &found)
{
    std::string text;
    for (const Disagreement &disagreement : found)
        text += wording(disagreement, page, operation.captions(), operation.units()) + " (rule " +
                std::string(disagreement.rule->id) + ")\n";
    return text;
}

// Each disagreement's field and rule, in the window's order.
std::vector<std::string_view> disagreeing(const OperationDefinition &operation, const Solved &page)
{
    std::vector<std::string_view> found;
    for (const Disagreement &d : checkConsistency(operation.relations, page.page, page.sources)) {
        found.push_back(operation.relations.fields[static_cast<std::size_t>(d.field)]);
        found.push_back(d.rule->id);
    }
    return found;
}

std::string pageText(const OperationDefinition &operation, const Solved &page)
{
    std::string text;
    for (std::size_t field = 0; field < page.sources.size(); ++field) {
        text += std::string(operation.relations.fields[field]) + "=" +
                page.page.text(static_cast<FieldId>(field)) + " from";
        for (FieldId source : page.sources[field])
            text += " " + std::string(operation.relations.fields[static_cast<std::size_t>(source)]);
        text += "\n";
    }
    return text;
}

class SolvedWorkedExamples : public testing::TestWithParam<WorkedExample> {};

// The typed page, solved, agrees with itself.
void expectAgrees(const OperationDefinition &operation, const FieldStore &typed)
{
    const Solved page = solved(operation, typed);
    const auto found = checkConsistency(operation.relations, page.page, page.sources);
    EXPECT_TRUE(found.empty()) << listed(operation, page.page, found);
}

TEST_P(SolvedWorkedExamples, AgreeWithThemselves)
{
    const OperationDefinition &operation = operationNamed(GetParam().operation);
    expectAgrees(operation, typedPage(operation, GetParam().typed));
}

INSTANTIATE_TEST_SUITE_P(All, SolvedWorkedExamples, testing::ValuesIn(workedExamples()),
                         byOperation);

// Nor a length, a speed or a force below zero, as a final size above the initial one gives.
bool positive(const FieldStore &page)
{
    for (FieldId field = 0; field < FieldId(page.size()); ++field) {
        if (strictToNumber(page.text(field)).value_or(0) < 0)
            return false;
    }
    return true;
}

// The relations a check reports, each as the fields it links.
std::set<std::vector<FieldId>> relationsOf(const std::vector<Disagreement> &found)
{
    std::set<std::vector<FieldId>> relations;
    for (const Disagreement &d : found) {
        std::vector<FieldId> fields = d.sources;
        fields.push_back(d.field);
        std::sort(fields.begin(), fields.end());
        relations.insert(fields);
    }
    return relations;
}

// Random pages typed field by field can contradict themselves through a relation the solve did
// not take (a typed area against a depth and a feed). What the check finds on a solved page it
// finds typed back, where it knows nothing of how the page was solved, and nothing more: the
// counts the solve rounded, and what it computed from them, raise nothing. A page that agrees
// with itself agrees again with any part of it typed and solved anew.
TEST(RandomSolvedPages, TypedBackFindWhatTheSolvedPageFinds)
{
    std::mt19937 random(29);
    for (const OperationDefinition &operation : operationDefinitions()) {
        const ConsistencyCheck check(operation.relations);
        const FieldSources typed(operation.relations.fields.size());
        int agreeing = 0;
        for (int round = 0; round < 60; ++round) {
            Solved page = solved(operation, randomIndependentPage(operation, random));
            while (!cuttable(operation, page.page) || !positive(page.page))
                page = solved(operation, randomIndependentPage(operation, random));
            const auto found = check.check(page.page, page.sources);
            const auto typedBack = check.check(page.page, typed);
            ASSERT_EQ(relationsOf(found), relationsOf(typedBack))
                << operation.name << " round " << round << ":\n"
                << listed(operation, page.page, found) << "typed back:\n"
                << listed(operation, page.page, typedBack) << pageText(operation, page);
            if (!found.empty())
                continue;
            ++agreeing;
            // Half of it typed, and what the solve then leaves blank (a field read as 0 when
            // blank). A count a rule rounds stays, with what it is rounded from: what follows
            // from the count differs from what the fraction gives, and only the two together
            // say by how much.
            std::vector<bool> keep(page.page.size());
            for (const RuleGroup &group : operation.relations.groups) {
                for (const Rule &rule : group) {
                    if (!rule.unrounded)
                        continue;
                    keep[std::size_t(rule.target)] = true;
                    for (FieldId source : check.sources().of(rule))
                        keep[std::size_t(source)] = true;
                }
            }
            FieldStore part = page.page;
            for (FieldId field = 0; field < FieldId(part.size()); ++field) {
                if (!keep[std::size_t(field)] && random() % 2)
                    part.setText(field, "");
            }
            const FieldStore solvedPart = solved(operation, part).page;
            for (FieldId field = 0; field < FieldId(part.size()); ++field) {
                if (solvedPart.isBlank(field))
                    part.setText(field, page.page.text(field));
            }
            const Solved again = solved(operation, part);
            const auto partFound = check.check(again.page, again.sources);
            ASSERT_TRUE(partFound.empty())
                << operation.name << " round " << round << ", part typed:\n"
                << listed(operation, again.page, partFound) << pageText(operation, again);
        }
        EXPECT_GE(agreeing, 40) << operation.name;
    }
}

// Whether rule gives target's number, within the tolerance, from what page holds now: every field
// it links filled, its test holding. nullopt where it does not apply or cannot be evaluated.
std::optional<bool> holds(const RelationList &list, const ListSources &sources, const Rule &rule,
                          const FieldStore &page)
{
    if (page.isBlank(rule.target))
        return std::nullopt;
    for (FieldId source : sources.of(rule)) {
        if (page.isBlank(source))
            return std::nullopt;
    }
    std::vector<Num> aux;
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(page, aux)));
    const Values values(page, aux);
    if ((rule.test && !rule.test(values)) || (rule.lossy && rule.lossy(values)))
        return std::nullopt;
    const Num given = rule.formula(values);
    const std::optional<double> own = strictToNumber(page.text(rule.target));
    if (!given.ok() || !own)
        return std::nullopt;
    return std::fabs(given.value() - *own) <=
           disagreementTolerance * std::max(std::fabs(given.value()), std::fabs(*own));
}

// One number of a solved page typed back, moved by 2 % or 50 %, is warned of wherever a rule
// through it no longer holds within the tolerance. Random pages typed field by field can already
// contradict themselves through a relation no rule of theirs solves for (area against depth and
// feed in shaping): only pages that agree typed back are moved. Counts stay: a count moved 2 %
// is no count, and rules that read one hold only to the count's rounding.
TEST(RandomSolvedPages, AMovedNumberIsFound)
{
    std::mt19937 random(41);
    for (const OperationDefinition &operation : operationDefinitions()) {
        const RelationList &list = operation.relations;
        const ConsistencyCheck check(list);
        const std::vector<std::string_view> units = operation.units();
        const FieldSources typed(list.fields.size());
        for (int round = 0; round < 30; ++round) {
            Solved page = solved(operation, randomIndependentPage(operation, random));
            while (!cuttable(operation, page.page) || !positive(page.page) ||
                   !check.check(page.page, typed).empty())
                page = solved(operation, randomIndependentPage(operation, random));
            std::vector<FieldId> numbers;
            for (FieldId field = 0; field < FieldId(page.page.size()); ++field) {
                if (units[std::size_t(field)] != "count" &&
                    strictToNumber(page.page.text(field)).value_or(0) != 0)
                    numbers.push_back(field);
            }
            if (numbers.empty())
                continue;
            const FieldId moved = numbers[random() % numbers.size()];
            FieldStore changed = page.page;
            const double factor = random() % 2 ? 1.02 : 1.5;
            changed.setText(moved, numberToText(*strictToNumber(changed.text(moved)) * factor));
            const Rule *broken = nullptr;
            auto look = [&](const Rule &rule) {
                const std::vector<FieldId> &reads = check.sources().of(rule);
                const bool through = rule.target == moved ||
                                     std::find(reads.begin(), reads.end(), moved) != reads.end();
                bool counted = units[std::size_t(rule.target)] == "count";
                for (FieldId source : reads)
                    counted |= units[std::size_t(source)] == "count";
                if (through && !counted && !broken &&
                    holds(list, check.sources(), rule, changed) == false)
                    broken = &rule;
            };
            for (const RuleGroup &group : list.groups)
                std::for_each(group.begin(), group.end(), look);
            if (broken) {
                EXPECT_FALSE(check.check(changed, typed).empty())
                    << operation.name << " round " << round << ": "
                    << list.fields[std::size_t(moved)] << " times " << factor << " breaks rule "
                    << broken->id << ", and nothing is warned of\n"
                    << pageText(operation, {changed, typed});
            }
        }
    }
}

struct TypedCase {
    const char *name;
    std::string_view operation;
    std::vector<std::pair<std::string_view, std::string_view>> typed;
    std::vector<std::string_view> disagreeing = {}; // field and rule, in the window's order
};

void PrintTo(const TypedCase &c, std::ostream *os)
{
    *os << c.name;
}

class TypedPage : public testing::TestWithParam<TypedCase> {};

// A typed page, solved: one whose every text the program solved itself raises no warning; one
// whose texts contradict each other, through a relation no rule the solve took states, is found.
TEST_P(TypedPage, DisagreesExactlyWhereItContradictsItself)
{
    const TypedCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const Solved page = solved(operation, storeWith(operation, c.typed));
    EXPECT_EQ(disagreeing(operation, page), c.disagreeing) << pageText(operation, page);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Pages, TypedPage,
    testing::Values(
        // The enlargement example: the removal rate is over the ring, the speed on the final
        // diameter.
        TypedCase{"EnlargementRemovalRate", "drilling",
                  {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtcspeed", "25"},
                   {"txtfeed", "0.15"}, {"txtmrr", "12000"}}},
        TypedCase{"EnlargementSpindleSpeed", "drilling",
                  {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtcspeed", "25"},
                   {"txtfeed", "0.15"}, {"txtrpm", "397.727272727273"}}},
        // Three lips: f = 2 z A1 / D.
        TypedCase{"ThreeLipsFeedFromChipArea", "drilling",
                  {{"txtfdiam2", "30"}, {"txtedge", "3"}, {"txtarea", "1"}, {"txtfeed", "0.2"}}},
        // From 90 degrees on the maximum chip is the feed per tooth, whatever the angle.
        TypedCase{"ObtuseContactAngle", "milling",
                  {{"txtcangle", "120"}, {"txtfpt", "0.1"}, {"txtmax", "0.1"}}},
        // 60 m/min from power and force, on 50 mm at 1000 rev/min from the feed rate: 157 m/min.
        TypedCase{"SpeedDiameterAndSpindleSpeed", "longitudinal",
                  {{"txtcp", "4000"}, {"txtcf", "4000"}, {"txtmrr", "60000"}, {"txtdoc", "2"},
                   {"txtfrate", "500"}, {"txtfdiam", "40"}, {"txtallowance", "5"},
                   {"txtnoc", ""}},
                  {"txtidiam", "2c"}},
        // A depth of cut as a result is written, typed back: (56.2 − 14.6) / 13.8666666666667
        // is 2.99999999999999, three cuts. Both results of the ratio stay.
        TypedCase{"CutsFromADepthTypedBack", "shaping",
                  {{"txtit", "56.2"}, {"txtft", "14.6"}, {"txtdoc", "13.8666666666667"},
                   {"txtnoc", "3"}}},
        // No hole: the speeds give a diameter of a few 1e-14 where the page has 0.
        TypedCase{"EqualDiametersNoHole", "drilling",
                  {{"txtidiam", "49"}, {"txtfdiam", "49"}, {"txtfdiam2", "0"},
                   {"txtcspeed", "0.421073253833049"}, {"txtrpm", "2.73424190800681"}}},
        // The hole diameter typed is kept, and held to the enlargement diameters.
        TypedCase{"TypedHoleDiameterAndEnlargement", "drilling",
                  {{"txtfdiam2", "10"}, {"txtidiam", "12"}, {"txtfdiam", "20"},
                   {"txtcspeed", "25"}},
                  {"txtfdiam2", "12c"}}),
    [](const auto &info) { return info.param.name; });
// clang-format on

// The page: a spindle speed from an earlier solve, then a new speed and diameter typed.
TEST(Disagreement, NamesTheFieldTheRuleItsSourcesAndBothValues)
{
    const OperationDefinition &turning = operationNamed("longitudinal");
    const FieldStore page =
        storeWith(turning, {{"txtidiam", "52.5"}, {"txtcspeed", "250"}, {"txtrpm", "954.5"}});
    FieldSources sources(page.size());
    sources[static_cast<std::size_t>(fieldNamed(turning, "txtrpm"))] =
        idsOf(turning, {"txtcspeed", "txtidiam"});
    const std::vector<Disagreement> found = checkConsistency(turning.relations, page, sources);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(wording(found[0], page, turning.captions(), turning.units()),
              "Spindle Speed 954.5 disagrees with Cutting Speed 250 and Initial Diameter 52.5, "
              "which give 1515.15 rev/min (+59 %): one of them is out of date or mistyped.");
}

struct ChangeCase {
    const char *name;
    std::string_view operation;
    std::string_view field;
    std::string_view text;
    std::vector<std::string_view> disagreeing; // field and rule, in the window's order
};

void PrintTo(const ChangeCase &c, std::ostream *os)
{
    *os << c.name;
}

class OneChangedField : public testing::TestWithParam<ChangeCase> {};

// A solved worked example with one text changed and not solved again: exactly the results that
// followed from it disagree, each with the rule that reads it.
TEST_P(OneChangedField, MakesExactlyItsResultsDisagree)
{
    const ChangeCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    Solved page = solved(operation, typedPage(operation, workedExample(c.operation).typed));
    page.page.setText(fieldNamed(operation, c.field), c.text);
    EXPECT_EQ(disagreeing(operation, page), c.disagreeing);
}

INSTANTIATE_TEST_SUITE_P(
    WorkedExamples, OneChangedField,
    testing::Values(
        ChangeCase{"turningSpeed",
                   "longitudinal",
                   "txtcspeed",
                   "200",
                   {"txtrpm", "8b", "txtmrr", "12a", "txtcp", "14a"}},
        // A change within the tolerance is no disagreement.
        ChangeCase{"turningSpeedWithinOnePercent", "longitudinal", "txtcspeed", "151", {}},
        ChangeCase{"millingTeeth", "milling", "txtnot", "12",
                   {"txttangle", "16a", "txtf", "3a", "txtfpt", "4b"}},
        ChangeCase{"shapingLength",
                   "shaping",
                   "txtl",
                   "200",
                   {"txtcs", "2", "txtcs", "3", "txtrs", "5", "txtrs", "6"}}),
    [](const auto &info) { return info.param.name; });

struct ReadingCase {
    double value;
    std::string_view unit;
    std::string_view reading;
};

class Reading : public testing::TestWithParam<ReadingCase> {};

TEST_P(Reading, HasFourSignificantDigitsAndItsUnit)
{
    EXPECT_EQ(readingText(GetParam().value, GetParam().unit), GetParam().reading);
}

INSTANTIATE_TEST_SUITE_P(
    Units, Reading,
    testing::Values(ReadingCase{954.545454545455, "rev/min", "954.5 rev/min"},
                    ReadingCase{10623.4, "W", "10 620 W (10.62 kW)"},
                    ReadingCase{999.96, "W", "1000 W (1 kW)"}, ReadingCase{800, "W", "800 W"},
                    ReadingCase{0.544761904761905, "min", "0.5448 min (0:33 min:s)"},
                    ReadingCase{2.17904761904762, "min", "2.179 min (2:11 min:s)"},
                    ReadingCase{125.3, "min", "125.3 min (125:18 min:s)"},
                    ReadingCase{150000, "mm³/min", "150 000 mm³/min"},
                    ReadingCase{1234567, "N", "1 235 000 N"},
                    ReadingCase{0.0333333333333333, "W·min/mm³", "0.03333 W·min/mm³"},
                    ReadingCase{-0.0000123456, "mm", "-1.235E-05 mm"},
                    ReadingCase{0.72, "ratio", "0.72"}, ReadingCase{3, "count", "3"},
                    // Halves go away from zero, as the decimal the number stands for.
                    ReadingCase{30625, "rev/min", "30 630 rev/min"},
                    ReadingCase{0.015625, "mm", "0.01563 mm"},
                    ReadingCase{-1.2345, "mm", "-1.235 mm"}));

TEST(FieldHelp, SaysWhatTheFieldIsItsUnitAndWhatItLeadsTo)
{
    const OperationDefinition &milling = operationNamed("milling");
    EXPECT_EQ(fieldHelpText(milling.relations, milling.captions(), milling.fieldHelp(),
                            fieldNamed(milling, "txtcw")),
              "Cutter Width: Cutter width: the axial depth of cut ap, the width of the cut along "
              "the cutter axis.\nUnit: mm.\nLeads to Feed Rate, Minimum UnCut Chip Thickness, "
              "UnCut Chip Area, Metal Removal Rate, Cutting Force and UnCut Chip Width.");
    EXPECT_EQ(fieldHelpText(milling.relations, milling.captions(), milling.fieldHelp(),
                            fieldNamed(milling, "txtww")),
              "W.P Width: Width of the work-piece.\nUnit: mm.\nNo rule reads it.");
}

} // namespace
