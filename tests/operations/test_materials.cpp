// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/typedpage.h"
#include "operations/chipthickness.h"
#include "solver/conversions.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

// A page, a material group, and what the page's chip thickness and the group's specific
// cutting force come out as; the numbers are worked by hand (pi = 22/7).
struct MaterialCase {
    const char *name;
    std::string_view operation;
    Texts typed;
    int group;
    std::string_view thickness; // as the number-to-text rule writes it, "" for none
    std::string_view kc;        // "" for none
    std::string_view says;      // a part of the explanation, or of why there is no kc
    bool atOneMillimetre = false;
};

void PrintTo(const MaterialCase &c, std::ostream *os)
{
    *os << c.name;
}

class MaterialForce : public testing::TestWithParam<MaterialCase> {};

TEST_P(MaterialForce, FollowsTheGroupAndThePagesChipThickness)
{
    const MaterialCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const FieldStore page = typedPage(operation, c.typed);
    const PageChipThickness thickness = pageChipThickness(operation, page, operation.captions());
    EXPECT_EQ(thickness.millimetres ? numberToText(*thickness.millimetres) : "", c.thickness);
    const materials::MaterialGroup *group = materials::findMaterialGroup(c.group);
    ASSERT_TRUE(group);
    const zorvik::MaterialForce force = materialForce(*group, thickness, c.atOneMillimetre);
    EXPECT_EQ(force.text.value_or(""), c.kc);
    EXPECT_NE(force.explanation.find(c.says), std::string::npos) << force.explanation;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MaterialForce,
    testing::Values(
        MaterialCase{"TypedThicknessInTurning", "longitudinal", {{"txtct", "0.25"}}, 2,
                     "0.25", "2034.90649117151",
                     "From material group 2 (non-alloy steel, cast steel, free-cutting steel, "
                     "≥ 0.25 % C, annealed): kc = kc1 × h^−mc = 1500 × 0.25^−0.22 = "
                     "2034.90649117151"},
        // A blank thickness is what rule 19a writes from feed and approach angle.
        MaterialCase{"TurningThicknessFromFeedAndAngle", "face",
                     {{"txtfeed", "0.2"}, {"txtangle", "90"}}, 1,
                     "0.199999960026674", "1892.855614672", "rule 19a"},
        // Feed per edge from the feed and the default two edges, on half the 118° point.
        MaterialCase{"DrillingThicknessFromFeedPerEdge", "drilling", {{"txtfeed", "0.2"}}, 15,
                     "0.0857380695665303", "1879.58988916193", "rule 13a"},
        MaterialCase{"MillingTakesTheMinimumThickness", "milling",
                     {{"txtmin", "0.05"}, {"txtct", "0.3"}, {"txtf", "9"}}, 21,
                     "0.05", "1480.31976881679", "Minimum UnCut Chip Thickness (mm) = 0.05"},
        MaterialCase{"ShapingTakesTheFeedPerCycle", "shaping", {{"txtf", "0.5"}}, 2,
                     "0.5", "1747.10037970268", "Feed (mm/Cycle) = 0.5"},
        MaterialCase{"GroupWithoutExponentGivesKc1", "shaping", {{"txtf", "0.5"}}, 38,
                     "0.5", "4600", "no chip-thickness exponent mc is published"},
        MaterialCase{"GroupWithoutConstantsGivesNothing", "longitudinal", {{"txtct", "0.25"}}, 29,
                     "0.25", "", "has no published cutting-force constants"},
        MaterialCase{"PageWithoutThicknessSaysWhatToType", "longitudinal", {}, 2, "", "",
                     "type UnCut Chip Thickness (mm), or what Calculate finds it from:\n"
                     "Rule 19a: UnCut Chip Thickness (mm) = Feed (mm/rev) × sin((π / 180) × "
                     "Approach Angle (Degrees))"},
        MaterialCase{"ShapingWithoutFeed", "shaping", {}, 2, "", "",
                     "type Feed (mm/Cycle) first."},
        MaterialCase{"Kc1OnRequestWithoutThickness", "longitudinal", {}, 2, "", "1500",
                     "kc = kc1 × h^−mc = 1500 × 1^−0.22 = 1500\nh = 1 mm, as asked", true},
        MaterialCase{"DecimalCommaIsNoThickness", "drilling", {{"txtct", "0,1"}}, 2, "", "",
                     "UnCut Chip Thickness (mm) holds \"0,1\", which is no chip thickness"},
        MaterialCase{"ZeroAngleGivesNoThickness", "longitudinal",
                     {{"txtfeed", "0.2"}, {"txtangle", "0"}}, 2, "", "",
                     "Calculate finds UnCut Chip Thickness (mm) = 0 from the page"}),
    [](const auto &info) { return std::string(info.param.name); });
// clang-format on

// Rule 11b would take the minimum thickness from the specific cutting force itself.
TEST(MaterialForce, MillingHintLeavesOutTheRuleThatReadsTheForce)
{
    const OperationDefinition &operation = operationNamed("milling");
    const PageChipThickness thickness =
        pageChipThickness(operation, operation.defaultStore(), operation.captions());
    EXPECT_NE(thickness.text.find("\nRule 11a: "), std::string::npos) << thickness.text;
    EXPECT_EQ(thickness.text.find("Rule 11b"), std::string::npos) << thickness.text;
}

} // namespace
