// SPDX-License-Identifier: GPL-3.0-or-later
#include "design/designcheck.h"
#include "operations/operation.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>

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
        if (!row.chipThickness.empty()) {
            EXPECT_GE(row.relations.fieldId(row.chipThickness), 0) << row.name;
            EXPECT_GE(row.relations.fieldId("txtspcf"), 0) << row.name;
        }
        EXPECT_EQ(design::designProblems(row.design(), row.relations, row.defaults),
                  std::vector<std::string>{});
        EXPECT_NO_THROW(row.fieldHelp()) << row.name;
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
