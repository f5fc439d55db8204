// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/typedpage.h"
#include "solver/nonnumber.h"
#include "solver/provenance.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zorvik;
using namespace zorvik::test;

namespace {

using Names = std::vector<std::string_view>;

std::vector<FieldId> idsOf(const OperationDefinition &operation, const Names &names)
{
    std::vector<FieldId> ids;
    for (std::string_view name : names)
        ids.push_back(fieldNamed(operation, name));
    return ids;
}

FieldSources workedExampleSources(const OperationDefinition &operation)
{
    FieldStore page = typedPage(operation, workedExample(operation.name).typed);
    SolveRecord record;
    solve(operation.relations, page, {}, &record);
    return solveSources(operation.relations, record);
}

struct SourcesCase {
    std::string_view field;
    Names sources; // in the order the rule's formula names them
};

class WorkedExampleSources : public testing::TestWithParam<SourcesCase> {};

TEST_P(WorkedExampleSources, AreWhatTheWritingRuleRead)
{
    const OperationDefinition &turning = operationNamed("longitudinal");
    const FieldSources sources = workedExampleSources(turning);
    EXPECT_EQ(sources[static_cast<std::size_t>(fieldNamed(turning, GetParam().field))],
              idsOf(turning, GetParam().sources));
}

INSTANTIATE_TEST_SUITE_P(
    Turning, WorkedExampleSources,
    testing::Values(SourcesCase{"txtrpm", {"txtcspeed", "txtidiam"}},
                    // Through the travel length, which reads three fields leniently.
                    SourcesCase{"txtmtime",
                                {"txtnoc", "txtlen", "txtinlet", "txtoutlet", "txtfrate"}},
                    // The guard reads the angle first; the formula reads the feed as well.
                    SourcesCase{"txtct", {"txtfeed", "txtangle"}}, SourcesCase{"txtidiam", {}},
                    SourcesCase{"txtcspeed", {}}));

struct DerivedCase {
    const char *name;
    Names changed;
    Names derived; // every field derived from changed, in the window's order
};

void PrintTo(const DerivedCase &c, std::ostream *os)
{
    *os << c.name;
}

class Derived : public testing::TestWithParam<DerivedCase> {};

TEST_P(Derived, AreExactlyTheResultsReadingAChangedFieldThroughAnyChain)
{
    const OperationDefinition &turning = operationNamed("longitudinal");
    const std::vector<bool> derived =
        derivedFrom(workedExampleSources(turning), idsOf(turning, GetParam().changed));
    Names names;
    for (std::size_t field = 0; field < derived.size(); ++field) {
        if (derived[field])
            names.push_back(turning.relations.fields[field]);
    }
    EXPECT_EQ(names, GetParam().derived);
}

INSTANTIATE_TEST_SUITE_P(
    Turning, Derived,
    testing::Values(
        DerivedCase{"feedLeavesTheSpindleSpeed",
                    {"txtfeed"},
                    {"txtfrate", "txtmtime", "txtmrr", "txtchip", "txtct", "txtcf", "txtcp",
                     "txtmp", "txtspcp"}},
        DerivedCase{"cuttingSpeed",
                    {"txtcspeed"},
                    {"txtrpm", "txtfrate", "txtmtime", "txtmrr", "txtcp", "txtmp", "txtspcp"}},
        DerivedCase{"aResultItself", {"txtcp"}, {"txtmp", "txtspcp"}},
        DerivedCase{"lastResults", {"txtmtime", "txtcw"}, {}},
        DerivedCase{"inputsOfTwoChains", {"txtmeff", "txtlen"}, {"txtmtime", "txtmp", "txteff"}}),
    [](const auto &info) { return info.param.name; });

TEST(Derived, FollowsACycleOfSolvesAndStops)
{
    // a from b, then b from a in a later solve, with c read from a.
    const FieldSources sources{{1}, {0}, {0}, {}};
    EXPECT_EQ(derivedFrom(sources, 0), (std::vector<bool>{true, true, true, false}));
    EXPECT_EQ(derivedFrom(sources, 3), (std::vector<bool>{false, false, false, false}));
}

TEST(Derived, KeepsOnlyTheLatestWriteOfEachField)
{
    FieldSources kept{{1}, {}, {0}};
    mergeSources(kept, {{}, {2}, {}, {0}});
    EXPECT_EQ(kept, (FieldSources{{1}, {2}, {0}, {0}}));
}

struct NonNumberCase {
    std::string_view operation;
    std::string_view field;
    std::string_view text;
    std::string_view wording;
};

class NonNumberWording : public testing::TestWithParam<NonNumberCase> {};

TEST_P(NonNumberWording, SaysHowEachRuleThatReadsItTakesIt)
{
    const NonNumberCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    EXPECT_EQ(nonNumberText(operation.relations, operation.captions(),
                            fieldNamed(operation, c.field), c.text),
              c.wording);
}

INSTANTIATE_TEST_SUITE_P(
    AllKinds, NonNumberWording,
    testing::Values(
        NonNumberCase{"longitudinal", "txtlen", "1.200.0",
                      "read as 1.2 by the No. Of Cuts rule (5c), the Feed Rate rule (6b) and the "
                      "Machining Time rule (9a), which read up to the first character that is not "
                      "part of a number"},
        NonNumberCase{"face", "txtlen", "1.200.0",
                      "read as 1.2 by the No. Of Cuts rule (5c), the Feed Rate rule (6b) and the "
                      "Machining Time rule (9a), which read up to the first character that is not "
                      "part of a number; the Spindle Speed rule (8b) and the Cutting Speed rule "
                      "(10a) cannot use it"},
        NonNumberCase{"shaping", "txttime", "abc",
                      "read as 0 by the BullGear Speed rule (12), which reads up to the first "
                      "character that is not part of a number; the Cutting Time rule (14) and "
                      "the Return Time rule (18) cannot use it"},
        NonNumberCase{"drilling", "txtidiam", "12 mm",
                      "the Cutting Speed rule (1a), the Cutting Speed rule (1b), the Cutting "
                      "Speed rule (1c), the Cutting Speed rule (1d), the Feed rule (2d), the "
                      "UnCut Chip Area (1 Edge) rule (5c), the Metal Removal Rate rule (6a), the "
                      "Metal Removal Rate rule (6b), the Cutting Force (1 Edge) rule (7a), the "
                      "Cutting Power rule (8a), the Spindle Speed rule (10a), the Hole Diameter "
                      "rule (12a), the Hole Diameter rule (12b) and the Hole Diameter rule (12c) "
                      "apply only to a number there"},
        // Two alternatives of one id are named once, by the first.
        NonNumberCase{"drilling", "txtfdiam2", "x",
                      "the Inlet Length rule (pre), the Cutting Speed rule (1b), the Feed rule "
                      "(2c), the Feed rule (2d), the Feed / Tooth rule (4c), the UnCut Chip Area "
                      "(1 Edge) rule (5a), the UnCut Chip Area (1 Edge) rule (5b), the Metal "
                      "Removal Rate rule (6b), the Depth Of Cut rule (11a) and the UnCut Chip "
                      "Width rule (14a) cannot use it; the Cutting Speed rule (1a) and the "
                      "Spindle Speed rule (10a) only need it filled, and read other fields"},
        NonNumberCase{"milling", "txtcw", "wide",
                      "the Feed Rate rule (5b), the Minimum UnCut Chip Thickness rule (11b), the "
                      "UnCut Chip Area rule (13a), the Metal Removal Rate rule (14a), the Metal "
                      "Removal Rate rule (14b) and the Cutting Force rule (17a) cannot use it; "
                      "rule 25 copies it as it stands into UnCut Chip Width"}));

} // namespace
