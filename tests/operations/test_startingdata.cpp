// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/startingdata.h"
#include "solvecase.h"
#include "wording/wording.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

struct StartCase {
    const char *name;
    const char *operation;
    const char *material; // a group number or a designation
    cuttingdata::Tool tool;
    Texts page;
    const char *speed; // "" where none is entered
    const char *feed;
    const char *says; // in the feed's explanation
};

void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << c.name;
}

class StartingTable : public testing::TestWithParam<StartCase> {};

TEST_P(StartingTable, EntersLowSpeedAndMiddleFeed)
{
    const StartCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const materials::NamedGroup named = materials::groupNamed(c.material);
    ASSERT_TRUE(named.group) << wording(*named.error);
    FieldStore page = storeWith(operation, c.page);
    const auto speed = startingSpeed(operation, page, *named.group, c.tool);
    const auto feed = startingFeed(operation, page, *named.group, c.tool);
    ASSERT_TRUE(speed && feed);
    EXPECT_EQ(speed->text.value_or(""), c.speed) << speed->explanation;
    EXPECT_EQ(feed->text.value_or(""), c.feed) << feed->explanation;
    EXPECT_NE(feed->explanation.find(c.says), std::string::npos) << feed->explanation;
    const zorvik::StartingData set = setStartingData(operation, page, *named.group, c.tool);
    EXPECT_EQ(set.set.size() + set.notes.size(), 2u);
    EXPECT_EQ(page.text(speed->field), c.speed);
    EXPECT_EQ(page.text(feed->field), c.feed);
}

using cuttingdata::Tool;
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, StartingTable,
    testing::Values(
        StartCase{"TurningCarbide", "longitudinal", "C45", Tool::carbide, {}, "70", "0.175",
                  "sources S11 S12 S13 S14"},
        StartCase{"TurningHss", "face", "1.0503", Tool::hss, {}, "18", "0.19", "0.08 to 0.3"},
        StartCase{"TaperTurning", "taper", "6061", Tool::hss, {}, "43", "0.19", "group 22"},
        StartCase{"DrillingPerDiameter", "drilling", "2", Tool::hss, {{"txtfdiam2", "10"}},
                  "15", "0.12", "× D = 10 mm"},
        // Opening a hole, the tool is as large as the final diameter.
        StartCase{"EnlargementOnFinalDiameter", "drilling", "2", Tool::carbide,
                  {{"txtidiam", "12"}, {"txtfdiam", "20"}, {"txtfdiam2", "8"}}, "70", "0.24",
                  "D = 20 mm"},
        StartCase{"DrillingWithoutDiameter", "drilling", "2", Tool::hss, {}, "15", "",
                  "Type the drill diameter first"},
        StartCase{"BlankCell", "drilling", "GG25", Tool::carbide, {{"txtfdiam2", "10"}}, "", "",
                  "no public starting value"},
        StartCase{"MillingCarbide", "milling", "2", Tool::carbide, {{"txtdiam", "10"}}, "56",
                  "0.04", "mm/tooth"},
        StartCase{"MillingHss", "milling", "304", Tool::hss, {{"txtdiam", "16"}}, "8",
                  "0.028", "0.0016 to 0.0019"},
        StartCase{"MillingAbove20mmTakesTheFeedAt20", "milling", "2", Tool::carbide,
                  {{"txtdiam", "100"}}, "56", "0.08", "solid cutters up to 20 mm"},
        StartCase{"SpeedWithoutFeed", "milling", "CuZn39Pb3", Tool::carbide, {{"txtdiam", "10"}},
                  "160", "", "point values only"},
        StartCase{"GroupWithoutRow", "longitudinal", "29", Tool::hss, {}, "", "",
                  "no row for material group 29"}),
    [](const testing::TestParamInfo<StartCase> &info) { return info.param.name; });
// clang-format on

TEST(StartingTable, NoneForShaping)
{
    const OperationDefinition &shaping = operationNamed("shaping");
    EXPECT_FALSE(startingSpeed(shaping, shaping.defaultStore(), *materials::findMaterialGroup(2),
                               Tool::hss));
}

struct NameCase {
    const char *text;
    int group;            // 0: none
    const char *mentions; // in the error
};

class MaterialNames : public testing::TestWithParam<NameCase> {};

TEST_P(MaterialNames, NameOneGroupOrSayWhichCould)
{
    const materials::NamedGroup named = materials::groupNamed(GetParam().text);
    const std::string error = named.error ? wording(*named.error) : std::string();
    EXPECT_EQ(named.group ? named.group->number : 0, GetParam().group) << error;
    EXPECT_NE(error.find(GetParam().mentions), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Table, MaterialNames,
                         testing::Values(NameCase{"7", 7, ""}, NameCase{"c45", 2, ""},
                                         NameCase{"1045", 2, ""}, NameCase{"X5CrNi18 10", 14, ""},
                                         NameCase{"EN-GJL-250", 15, ""},
                                         NameCase{"AlMgSi1", 22, ""}, NameCase{"Ti6Al4V", 37, ""},
                                         NameCase{"42CrMo4", 6, ""}, NameCase{"Ti6", 37, ""},
                                         NameCase{"42CrMo", 0, "42CrMo4+QT (group 7)"},
                                         NameCase{"C4", 0, "could be C45 (group 2)"},
                                         NameCase{"Cx99", 0, "such as C45, 304 or GG25"},
                                         NameCase{"99", 0, "group number from 1 to 41"},
                                         NameCase{"42", 0, "group number from 1 to 41"}));

} // namespace
