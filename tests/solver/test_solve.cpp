// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/numerics.h"
#include "solver/preparedlist.h"
#include "solver/relationlist.h"
#include "solver/solve.h"
#include "tests/support/solvetrace.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

using namespace zorvik;
using zorvik::test::traceSolve;

namespace {

enum Field : FieldId { a, b, c, d, e };
using V = const Values &;

FieldStore storeOf(std::vector<std::string> texts)
{
    FieldStore store(5);
    for (std::size_t i = 0; i < texts.size(); ++i)
        store.setText(static_cast<FieldId>(i), texts[i]);
    return store;
}

std::vector<std::string> textsOf(const FieldStore &store)
{
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < store.size(); ++i)
        texts.push_back(store.text(static_cast<FieldId>(i)));
    return texts;
}

const std::vector<std::string_view> names{"a", "b", "c", "d", "e"};

// One formula per failure kind: each must leave c blank however it ends.
struct FormulaCase {
    const char *what;
    Formula formula;
    const char *expected; // text written into c, "" for an evaluation failure
};

void PrintTo(const FormulaCase &c, std::ostream *os)
{
    *os << c.what;
}

class FormulaChecks : public testing::TestWithParam<FormulaCase> {};

TEST_P(FormulaChecks, FailuresLeaveTheTargetBlank)
{
    RelationList list{.fields = names, .groups = {{{"1a", c, {a, b}, "", GetParam().formula}}}};
    FieldStore store = storeOf({"10", "0"});
    solve(list, store);
    EXPECT_EQ(store.text(c), GetParam().expected) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormulaChecks,
    testing::Values(
        FormulaCase{"division by zero", [](V v) { return v[a] / v[b]; }, ""},
        FormulaCase{"zero by zero", [](V v) { return v[b] / v[b]; }, ""},
        FormulaCase{"overflow", [](V v) { return v[a] * 1e308; }, ""},
        FormulaCase{"overflow undone later", [](V v) { return (v[a] * 1e308) / 1e308; }, ""},
        FormulaCase{"infinity divided away", [](V v) { return 1 / (v[a] / v[b]); }, ""},
        FormulaCase{"inf minus inf", [](V v) { return v[a] * 1e308 - v[a] * 1e308; }, ""},
        FormulaCase{"square root of a negative", [](V v) { return squareRoot(v[b] - v[a]); }, ""},
        // The formula's limit at +-1: the true pi/2 over 22/7.
        FormulaCase{"arcsine at one", [](V v) { return degreeArcsine(v[a] / v[a]); },
                    "89.9637896255259"},
        FormulaCase{"arcsine at minus one", [](V v) { return degreeArcsine(-v[a] / v[a]); },
                    "-89.9637896255259"},
        FormulaCase{"arcsine beyond one", [](V v) { return degreeArcsine(v[a]); }, ""},
        FormulaCase{"underflow is no failure", [](V v) { return v[a] * 1e-300 * 1e-10; }, "1E-309"},
        FormulaCase{"negative results are written", [](V v) { return v[b] - v[a]; }, "-10"},
        FormulaCase{"negative zero", [](V v) { return -v[b]; }, "0"},
        FormulaCase{"arcsine of a half", [](V v) { return degreeArcsine(v[a] / 20); },
                    "29.9879298751753"},
        FormulaCase{"halves round to even", [](V v) { return roundHalfEven(v[a] / 4); }, "2"},
        FormulaCase{"odd halves round up", [](V v) { return roundHalfEven(v[a] * 0.35); }, "4"},
        FormulaCase{"truncation toward zero",
                    [](V v) { return truncateTowardZero(v[b] - v[a] / 2.6); }, "-3"}));

TEST(Solve, SourceTextsThatAreNotNumbersFailTheRule)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", c, {a}, "", [](V v) { return v[a] * 2; }}},
                                 {{"2a", d, {b}, "", [](V v) { return v[b] * 2; }}}}};
    for (const char *text : {" ", ".", "1.2.3", "1..2", "abc", "1,5", "-"}) {
        FieldStore store = storeOf({text, "3"});
        solve(list, store);
        EXPECT_EQ(textsOf(store), (std::vector<std::string>{text, "3", "", "6", ""})) << text;
    }
}

TEST(Solve, AFieldOfSpacesIsGivenNotBlank)
{
    RelationList list{.fields = names, .groups = {{{"1a", c, {a}, "", [](V v) { return v[a]; }}}}};
    FieldStore store = storeOf({"4", "", " "});
    solve(list, store);
    EXPECT_EQ(store.text(c), " ");
}

TEST(Solve, AFailingFirstRuleEndsItsGroupInEveryPass)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", c, {a, b}, "", [](V v) { return v[a] / v[b]; }},
                                  {"1b", c, {a}, "", [](V v) { return v[a] * 2; }}}}};
    FieldStore store = storeOf({"10", "0"});
    EXPECT_TRUE(traceSolve(list, store).empty());
    EXPECT_EQ(store.text(c), "");

    // Without the zero divisor's guard source the second rule is reached.
    store = storeOf({"10", ""});
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 1b c 20"}));
}

// A group whose first rule's target is given still tries its other rules, which fill other
// fields; those feed an earlier group in the next pass.
TEST(Solve, AGroupOfSeveralTargetsIsTriedWhileAnyIsBlank)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", c, {e}, "", [](V v) { return v[e]; }}},
                                 {{"2a", d, {a}, "", [](V v) { return v[a] + 1; }},
                                  {"2b", e, {a}, "", [](V v) { return v[a] * 2; }}}},
                      .passes = 3};
    FieldStore store = storeOf({"1", "", "", "given"});
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 2b e 2", "2 1a c 2"}));
}

TEST(Solve, LateGroupsFeedEarlyGroupsInTheNextPass)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", d, {c}, "", [](V v) { return v[c] + 1; }}},
                                 {{"2a", c, {b}, "", [](V v) { return v[b] + 1; }}},
                                 {{"3a", b, {a}, "", [](V v) { return v[a] + 1; }}}},
                      .passes = 2};
    FieldStore store = storeOf({"1"});
    // The chain needs three passes; with two the last link stays blank.
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 3a b 2", "2 2a c 3"}));
    EXPECT_EQ(store.text(d), "");

    // A second solve continues where the pass count stopped the first.
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 1a d 4"}));
    EXPECT_TRUE(traceSolve(list, store).empty());
}

TEST(Solve, ValuesPassBetweenRulesAsFifteenDigitText)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", b, {a}, "", [](V v) { return v[a] / 3; }}},
                                 {{"2a", c, {b}, "", [](V v) { return v[b] * 3; }}}}};
    FieldStore store = storeOf({"1"});
    solve(list, store);
    EXPECT_EQ(store.text(b), "0.333333333333333");
    EXPECT_EQ(store.text(c), "0.999999999999999");
}

TEST(Solve, AuxiliaryValuesAreFixedBeforeTheFirstPass)
{
    RelationList list{.fields = names,
                      .prePass = {{"pre", a, {e}, "", [](V v) { return v[e] * 10; }}},
                      .auxValues = {{"L", "", "", [](V v) { return v.lenient(a) + v.lenient(b); }}},
                      .groups = {{{"1a", b, {e}, "", [](V v) { return v[e]; }}},
                                 {{"2a", c, {e}, "", [](V v) { return v.aux(0); }}},
                                 {{"3a",
                                   d,
                                   {e},
                                   "",
                                   [](V v) { return v[e] / v.aux(0); },
                                   [](V v) { return v.aux(0).value() != 0; }}}}};
    // The pre-pass rule runs first and the auxiliary value sees its result, but not b, which
    // pass 1 fills afterwards.
    FieldStore store = storeOf({"", "", "", "", "2"});
    EXPECT_EQ(traceSolve(list, store),
              (std::vector<std::string>{"0 pre a 20", "1 1a b 2", "1 2a c 20", "1 3a d 0.1"}));

    // A false test on an auxiliary value makes the rule not applicable.
    store = storeOf({"", "x", "", "", ""});
    list.prePass.clear();
    store.setText(e, "3");
    solve(list, store);
    EXPECT_EQ(store.text(c), "0");
    EXPECT_EQ(store.text(d), "");
}

TEST(Solve, PassCopyOverwritesAndIsTracedOnlyWhenItChanges)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", a, {b}, "", [](V v) { return v[b]; }}}},
                      .endOfPass = {{"9", a, c}},
                      .passes = 3};
    FieldStore store = storeOf({"", "8", "5"});
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 1a a 8", "1 9 c 8"}));

    store = storeOf({"", "", "5"});
    EXPECT_TRUE(traceSolve(list, store).empty());
    EXPECT_EQ(store.text(c), "5");
}

// A pass that writes nothing ends the solve, since every later pass would repeat it; a write of
// any kind, a copy's included, lets the next pass run.
int tries = 0;

TEST(Solve, PassesEndWhenOneWritesNothing)
{
    const Formula failing = [](V v) {
        ++tries;
        return v[a] / v[b];
    };
    RelationList list{.fields = names, .groups = {{{"1a", c, {a, b}, "", failing}}}};
    FieldStore store = storeOf({"10", "0"});
    tries = 0;
    EXPECT_TRUE(traceSolve(list, store).empty());
    EXPECT_EQ(tries, 1);

    // A write in pass 1 makes pass 2 run; that one writes nothing.
    list.groups.push_back({{"2a", d, {a}, "", [](V v) { return v[a] + 1; }}});
    store = storeOf({"10", "0"});
    tries = 0;
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 2a d 11"}));
    EXPECT_EQ(tries, 2);
}

TEST(Solve, APassWhoseOnlyWriteIsACopyIsNotTheLast)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", c, {b}, "", [](V v) { return v[b] + 1; }}}},
                      .endOfPass = {{"9", a, b}},
                      .passes = 3};
    FieldStore store = storeOf({"4"});
    EXPECT_EQ(traceSolve(list, store), (std::vector<std::string>{"1 9 b 4", "2 1a c 5"}));
}

// A source that a rule has read and that is written later in the solve is read with its new
// text by the rules that follow, whichever way it was written.
struct RereadCase {
    const char *what;
    RelationList list;
    std::vector<std::string> texts;
    std::vector<std::string> trace;
};

void PrintTo(const RereadCase &c, std::ostream *os)
{
    *os << c.what;
}

class RereadAfterWrite : public testing::TestWithParam<RereadCase> {};

TEST_P(RereadAfterWrite, LaterRulesReadTheNewText)
{
    const RereadCase &c = GetParam();
    FieldStore store = storeOf(c.texts);
    EXPECT_EQ(traceSolve(c.list, store), c.trace);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RereadAfterWrite,
    testing::Values(
        // c is outside the guard: blank in pass 1, written by the next group.
        RereadCase{"BlankSourceFilledByALaterGroup",
                   {.fields = names,
                    .groups = {{{"1a", d, {a}, "", [](V v) { return v[a] + v[c]; }}},
                               {{"2a", c, {a}, "", [](V v) { return v[a] * 2; }}}},
                    .passes = 3},
                   {"1"},
                   {"1 2a c 2", "2 1a d 3"}},
        RereadCase{"ZeroDivisorOverwrittenByAPassCopy",
                   {.fields = names,
                    .groups = {{{"1a", d, {c}, "", [](V v) { return v[a] / v[c]; }}}},
                    .endOfPass = {{"9", a, c}},
                    .passes = 3},
                   {"8", "", "0"},
                   {"1 9 c 8", "2 1a d 1"}},
        RereadCase{"MalformedSourceReplacedByACopy",
                   {.fields = names,
                    .groups = {{{"1a", d, {c}, "", [](V v) { return v[c] * 3; }}}},
                    .endOfPass = {{"9", b, c}},
                    .passes = 2},
                   {"", "0.5", "1..2"},
                   {"1 9 c 0.5", "2 1a d 1.5"}}));

// A store of another size is refused before anything is read or written, and without throwing.
TEST(Solve, RefusesAStoreMadeForAnotherListAndLeavesItAlone)
{
    RelationList list{.fields = names, .groups = {{{"1a", c, {a}, "", [](V v) { return v[a]; }}}}};
    for (std::size_t size : {3u, 6u}) {
        FieldStore store(size);
        store.setText(a, "7");
        std::vector<std::string> before = textsOf(store);
        bool solved = true;
        EXPECT_NO_THROW(solved = solve(list, store)) << size;
        EXPECT_FALSE(solved) << size;
        EXPECT_EQ(textsOf(store), before) << size;
    }
    FieldStore store = storeOf({"7"});
    EXPECT_TRUE(solve(list, store));
    EXPECT_EQ(store.text(c), "7");
}

enum class Access { Text, SetText, IsBlank };

struct OutOfRangeCase {
    FieldId id;
    Access access;
};

void PrintTo(const OutOfRangeCase &c, std::ostream *os)
{
    *os << "id " << c.id << " access " << static_cast<int>(c.access);
}

class FieldStoreAccess : public testing::TestWithParam<OutOfRangeCase> {};

TEST_P(FieldStoreAccess, AnIdOutsideTheStoreThrowsNamingIdAndSize)
{
    const OutOfRangeCase &c = GetParam();
    FieldStore store(5);
    store.setText(e, "kept");
    try {
        switch (c.access) {
        case Access::Text:
            (void)store.text(c.id);
            break;
        case Access::SetText:
            store.setText(c.id, "x");
            break;
        case Access::IsBlank:
            (void)store.isBlank(c.id);
            break;
        }
        FAIL() << "no exception";
    } catch (const std::out_of_range &error) {
        std::string message = error.what();
        EXPECT_NE(message.find(" " + std::to_string(c.id) + " "), std::string::npos) << message;
        EXPECT_NE(message.find(" 5 "), std::string::npos) << message;
    }
    EXPECT_EQ(textsOf(store), (std::vector<std::string>{"", "", "", "", "kept"}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, FieldStoreAccess,
    testing::Values(OutOfRangeCase{-1, Access::Text}, OutOfRangeCase{-1, Access::SetText},
                    OutOfRangeCase{-1, Access::IsBlank}, OutOfRangeCase{5, Access::Text},
                    OutOfRangeCase{5, Access::SetText}, OutOfRangeCase{5, Access::IsBlank},
                    OutOfRangeCase{std::numeric_limits<FieldId>::min(), Access::SetText},
                    OutOfRangeCase{std::numeric_limits<FieldId>::max(), Access::Text}));

// A name the list does not know resolves to -1, which no store accepts.
TEST(FieldStoreAccess, AnUnknownNameCannotBeWritten)
{
    RelationList list{.fields = names, .groups = {}};
    FieldStore store(names.size());
    EXPECT_EQ(list.fieldId("b"), b);
    EXPECT_EQ(list.fieldId("z"), -1);
    EXPECT_THROW(store.setText(list.fieldId("z"), "1"), std::out_of_range);
}

// An id a rule or a copy names outside the list's fields is a broken list: refused loudly before
// any rule runs, wherever it hides.
struct BrokenListCase {
    const char *what;
    RelationList list;
    // What a formula reads is seen only when it runs, not when the list is prepared.
    bool inFormula = false;
};

void PrintTo(const BrokenListCase &c, std::ostream *os)
{
    *os << c.what;
}

class BrokenList : public testing::TestWithParam<BrokenListCase> {};

TEST_P(BrokenList, ThrowsBeforeWritingAnything)
{
    RelationList list = GetParam().list;
    list.groups.insert(list.groups.begin(), {{"0a", d, {a}, "", [](V v) { return v[a]; }}});
    FieldStore store = storeOf({"1"});
    EXPECT_THROW(solve(list, store), std::out_of_range);
    EXPECT_EQ(textsOf(store), (std::vector<std::string>{"1", "", "", "", ""}));
    // A batch prepares its list once; the list is refused there.
    if (!GetParam().inFormula) {
        EXPECT_THROW(PreparedList{list}, std::out_of_range);
    }
}

constexpr FieldId outside = 5;
const Formula copyA = [](V v) { return v[a]; };

INSTANTIATE_TEST_SUITE_P(
    Table, BrokenList,
    testing::Values(
        BrokenListCase{"target", {.fields = names, .groups = {{{"1a", outside, {a}, "", copyA}}}}},
        BrokenListCase{"negative target",
                       {.fields = names, .groups = {{{"1a", -1, {a}, "", copyA}}}}},
        BrokenListCase{"guard",
                       {.fields = names, .groups = {{{"1a", b, {a, outside}, "", copyA}}}}},
        BrokenListCase{
            "second rule of a group",
            {.fields = names, .groups = {{{"1a", b, {a}, "", copyA}, {"1b", b, {-1}, "", copyA}}}}},
        BrokenListCase{
            "pre-pass rule",
            {.fields = names, .prePass = {{"p", outside, {a}, "", copyA}}, .groups = {}}},
        BrokenListCase{"auxiliary value read before the auxiliary values",
                       {.fields = names,
                        .prePass = {{"p", b, {a}, "", [](V v) { return v.aux(0); }}},
                        .auxValues = {{"L", "", "", copyA}},
                        .groups = {}},
                       true},
        BrokenListCase{"copy source",
                       {.fields = names, .groups = {}, .endOfPass = {{"9", outside, b}}}},
        BrokenListCase{"copy target",
                       {.fields = names, .groups = {}, .endOfPass = {{"9", a, -1}}}}));

// Ids inside a formula are checked too: a rule reading past the store stops the solve loudly.
TEST(Solve, AFormulaReadingOutsideTheStoreThrows)
{
    RelationList list{.fields = names,
                      .groups = {{{"1a", c, {a}, "", [](V v) { return v[a] + v[FieldId{9}]; }}}}};
    FieldStore store = storeOf({"1"});
    EXPECT_THROW(solve(list, store), std::out_of_range);
}

TEST(Solve, AllBlankChangesNothing)
{
    RelationList list{.fields = names, .groups = {{{"1a", c, {a}, "", [](V v) { return v[a]; }}}}};
    FieldStore store(5);
    EXPECT_TRUE(traceSolve(list, store).empty());
    EXPECT_EQ(textsOf(store), std::vector<std::string>(5));
}

} // namespace
