// SPDX-License-Identifier: GPL-3.0-or-later
#include "design/designcheck.h"
#include "operations/operation.h"
#include "solver/conversions.h"
#include "tests/support/allrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <regex>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

using namespace zorvik;

namespace {

// Every row is found by its command-line name, names its own option and window,
// and its design suits its relation list and defaults.
TEST(OperationTable, EveryRowIsWholeAndSound)
{
    std::set<std::string> names;
    for (const OperationDefinition &row : operationDefinitions()) {
        EXPECT_EQ(findOperation(row.name), &row);
        for (std::string name :
             {std::string(row.name), std::string(row.option.name), std::string(row.design().name)})
            EXPECT_TRUE(names.insert(name).second) << name;
        for (const auto &[field, text] : row.defaults) {
            ASSERT_GE(field, 0);
            ASSERT_LT(std::size_t(field), row.relations.fields.size());
            EXPECT_EQ(row.defaultStore().text(field), text) << row.name;
        }
        for (std::string_view alias : row.aliases) {
            EXPECT_EQ(findOperation(alias), &row) << alias;
            EXPECT_TRUE(names.insert(std::string(alias)).second) << alias;
        }
        if (!row.material.kc.empty()) {
            EXPECT_GE(row.relations.fieldId(row.material.chipThickness), 0) << row.name;
            EXPECT_GE(row.relations.fieldId(row.material.kc), 0) << row.name;
        }
        // A machine field or lever misspelt would go unchecked and unoffered without a word.
        const MachineFields &machine = row.machine;
        std::vector<std::string_view> machineFields{machine.rpm, machine.feedRate,
                                                    machine.motorPower, machine.cuttingPower,
                                                    machine.torque};
        for (const MachineLever &lever : machine.levers)
            machineFields.insert(machineFields.end(),
                                 {lever.field, lever.fixedWhile[0], lever.fixedWhile[1]});
        for (std::string_view field : machineFields)
            EXPECT_TRUE(field.empty() || row.relations.fieldId(field) >= 0) << row.name << field;
        EXPECT_EQ(design::designProblems(row.design(), row.relations, row.defaults),
                  std::vector<std::string>{});
        EXPECT_NO_THROW(row.fieldHelp()) << row.name;
    }
}

// A list's field enum and its names table are two tables in one order: a formula reading a
// field by its enumerator must read the field its text names. A formula reads the fields whose
// blanking alone fails it, on a page where it succeeds; a lenient read may fail on a blank or not.
// The fields a rule or value states it reads only leniently are those its text does.
TEST(OperationTable, FormulasReadTheFieldsTheirTextsName)
{
    const std::regex reference(R"((lenient\()?\{(\w+)\})");
    for (const OperationDefinition &row : operationDefinitions()) {
        const RelationList &list = row.relations;
        const std::size_t count = list.fields.size();
        auto reads = [&](std::string_view owner, std::string_view text,
                         const std::vector<FieldId> &stated) {
            const std::string whole(text);
            std::set<FieldId> strict, lenient;
            for (std::sregex_iterator at(whole.begin(), whole.end(), reference), end; at != end;
                 ++at) {
                const FieldId field = list.formulaField((*at)[2].str());
                if (field >= 0)
                    ((*at)[1].matched ? lenient : strict).insert(field);
            }
            std::set<FieldId> only;
            std::set_difference(lenient.begin(), lenient.end(), strict.begin(), strict.end(),
                                std::inserter(only, only.end()));
            EXPECT_EQ(std::set<FieldId>(stated.begin(), stated.end()), only)
                << row.name << " " << owner;
            return std::pair{strict, lenient};
        };
        for (const AuxValue &value : list.auxValues)
            reads(value.name, value.text, value.lenient);
        for (const Rule *rule : test::allRules(list)) {
            const auto [strict, lenient] = reads(rule->id, rule->text, rule->lenient);
            std::set<FieldId> named = strict;
            named.insert(lenient.begin(), lenient.end());
            // Rising and falling values, large and small, so that some order of the fields
            // keeps every square root and arcsine of the rule in range.
            bool evaluated = false;
            for (double scale : {1.0, 0.01, 7.0}) {
                for (bool rising : {true, false}) {
                    FieldStore store(count);
                    for (std::size_t i = 0; i < count; ++i) {
                        const double step = double(rising ? i : count - i);
                        store.setText(FieldId(i), numberToText(scale * (1 + 0.37 * step)));
                    }
                    std::vector<Num> aux;
                    for (const AuxValue &value : list.auxValues)
                        aux.push_back(value.define(Values(store, aux)));
                    if (evaluated || !rule->formula(Values(store, aux)).ok())
                        continue;
                    evaluated = true;
                    std::set<FieldId> read;
                    for (std::size_t i = 0; i < count; ++i) {
                        FieldStore blanked = store;
                        blanked.setText(FieldId(i), "");
                        if (!rule->formula(Values(blanked, aux)).ok())
                            read.insert(FieldId(i));
                    }
                    EXPECT_TRUE(
                        std::includes(read.begin(), read.end(), strict.begin(), strict.end()) &&
                        std::includes(named.begin(), named.end(), read.begin(), read.end()))
                        << row.name << " rule " << rule->id;
                }
            }
            EXPECT_TRUE(evaluated) << row.name << " rule " << rule->id;
        }
    }
}

struct HoleCase {
    const char *name;
    std::vector<FieldHelpEntry> table;
    const char *error;
};

void PrintTo(const HoleCase &c, std::ostream *os)
{
    *os << c.name;
}

class FieldHelpHole : public testing::TestWithParam<HoleCase> {};

TEST_P(FieldHelpHole, StopsNamingTheField)
{
    const RelationList list{.fields = {"txta", "txtb"}, .groups = {}};
    try {
        helpByField(list, GetParam().table);
        ADD_FAILURE() << "no error";
    } catch (const std::logic_error &error) {
        EXPECT_STREQ(error.what(), GetParam().error);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Tables, FieldHelpHole,
    testing::Values(HoleCase{"missing", {{"txta", "mm", "A."}}, "field help has no entry for txtb"},
                    HoleCase{"twice",
                             {{"txta", "mm", "A."}, {"txtb", "mm", "B."}, {"txta", "mm", "A."}},
                             "field help has two entries for txta"},
                    HoleCase{"unknown",
                             {{"txta", "mm", "A."}, {"txtc", "mm", "C."}},
                             "field help names txtc, which its list does not have"},
                    HoleCase{"noUnit",
                             {{"txta", "", "A."}, {"txtb", "mm", "B."}},
                             "field help for txta lacks its unit or its description"}),
    [](const auto &info) { return info.param.name; });

} // namespace
