// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pagemodel.h"
#include "examples/typedpage.h"
#include "examples/workedexamples.h"
#include "job/jobformat.h"
#include "page/pagecheck.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

namespace {

using zorvik::FieldId;
using zorvik::PageModel;
using zorvik::job::Origin;

const zorvik::OperationDefinition &longitudinal()
{
    return zorvik::test::operationNamed("longitudinal");
}

PageModel newModel()
{
    const zorvik::PageCheck &check = zorvik::PageCheck::of(longitudinal());
    return PageModel(longitudinal(), check.captions(), check.check());
}

// The longitudinal worked example typed into a page as it opens.
PageModel workedPage()
{
    PageModel model = newModel();
    model.open(zorvik::test::storeWith(longitudinal(),
                                       zorvik::test::workedExample("longitudinal").typed));
    return model;
}

FieldId id(std::string_view name) { return zorvik::test::fieldNamed(longitudinal(), name); }

// The page saved, written to a job file with its twin page, read back and restored.
PageModel reopened(const PageModel &model)
{
    zorvik::job::WindowRecord window{.operation = "longitudinal"};
    window.pages.resize(2);
    model.save(window.pages[0]);
    model.save(window.pages[1]);
    const zorvik::job::JobRead read =
        zorvik::job::readJob(zorvik::job::writeJob({{window}}), "round.zorvik");
    EXPECT_FALSE(read.error);
    PageModel opened = newModel();
    opened.restore(read.job.windows.at(0).pages.at(0));
    return opened;
}

// The longitudinal worked example typed, then steps: "field=text" an edit, "calculate",
// "recalculate", "undo" (of Recalculate), "reopen" (saved to a job file and opened), "import"
// (into a blank page, from this one), "reset"; then the origin of some fields.
struct Transition {
    const char *name;
    std::vector<std::string> steps;
    std::vector<std::pair<const char *, Origin>> origins;
};

class PageModelTransition : public testing::TestWithParam<Transition> {};

TEST_P(PageModelTransition, OriginsFollowTheSteps)
{
    const Transition &t = GetParam();
    PageModel model = workedPage();
    for (const std::string &step : t.steps) {
        if (step == "calculate") {
            model.calculate();
        } else if (step == "recalculate") {
            model.recalculate();
        } else if (step == "undo") {
            ASSERT_TRUE(model.undoRecalculate());
        } else if (step == "reset") {
            model.open(zorvik::FieldStore(model.size()));
        } else if (step == "reopen") {
            const PageModel before = model;
            model = reopened(before);
            for (std::size_t i = 0; i < model.size(); ++i) {
                const auto field = static_cast<FieldId>(i);
                EXPECT_EQ(model.text(field), before.text(field));
                EXPECT_EQ(model.origin(field), before.origin(field)) << i;
                EXPECT_EQ(model.explanation(field), before.explanation(field)) << i;
            }
        } else if (step == "import") {
            PageModel blank = newModel();
            blank.importFrom(model, "Roughing Data");
            model = blank;
        } else {
            const std::size_t equals = step.find('=');
            model.edit(id(step.substr(0, equals)), step.substr(equals + 1));
        }
    }
    for (const auto &[field, origin] : t.origins)
        EXPECT_EQ(zorvik::job::originName(model.origin(id(field))),
                  zorvik::job::originName(origin))
            << field;
}

const Transition transitions[] = {
    {"Typed", {}, {{"txtcspeed", Origin::typed}, {"txtrpm", Origin::blank}}},
    {"Solved", {"calculate"}, {{"txtrpm", Origin::result}, {"txtfeed", Origin::typed}}},
    {"EditLeavesFollowersOutOfDate",
     {"calculate", "txtfeed=0.3"},
     {{"txtfrate", Origin::outOfDate}, {"txtrpm", Origin::result}, {"txtfeed", Origin::typed}}},
    {"EditTakenBackIsFreshAgain",
     {"calculate", "txtfeed=0.3", "txtfeed=0.2"},
     {{"txtfrate", Origin::result}}},
    {"RecalculateComputesAgain",
     {"calculate", "txtfeed=0.3", "recalculate"},
     {{"txtfrate", Origin::result}}},
    {"UndoBringsBackTheOldPage",
     {"calculate", "txtfeed=0.3", "recalculate", "undo"},
     {{"txtfrate", Origin::outOfDate}}},
    {"TypingOverAResult", {"calculate", "txtrpm=1000"}, {{"txtrpm", Origin::typed}}},
    {"ReopenedOutOfDate",
     {"calculate", "txtfeed=0.3", "reopen"},
     {{"txtfrate", Origin::outOfDate}, {"txtmtime", Origin::outOfDate}}},
    {"ImportBringsResultsAsImported",
     {"calculate", "import"},
     {{"txtrpm", Origin::imported}, {"txtcspeed", Origin::typed}}},
    {"ImportedReopened", {"calculate", "import", "reopen"}, {{"txtrpm", Origin::imported}}},
    {"ImportedThenSolvedIsThisPagesResult",
     {"calculate", "import", "recalculate"},
     {{"txtrpm", Origin::result}}},
    {"ResetForgetsResults", {"calculate", "reset"}, {{"txtrpm", Origin::blank}}},
};

INSTANTIATE_TEST_SUITE_P(Page, PageModelTransition, testing::ValuesIn(transitions),
                         [](const auto &info) { return std::string(info.param.name); });

// A job file's "from" is read back: a field stated a result is one, whatever else its record
// leaves out, and a record whose members make the field something else than it states is
// refused rather than opened looking and solving otherwise.
struct StatedOrigin {
    const char *name;
    const char *field;
    nlohmann::json from;
    bool keepRecord; // what wrote the field and what it read, as saved
    bool refused;
    bool blankedByRecalculate;
};

class StatedOriginCase : public testing::TestWithParam<StatedOrigin> {};

TEST_P(StatedOriginCase, IsReadBackOrRefused)
{
    const StatedOrigin &c = GetParam();
    PageModel model = workedPage();
    model.calculate();
    zorvik::job::WindowRecord window{.operation = "longitudinal"};
    window.pages.resize(2);
    model.save(window.pages[0]);
    model.save(window.pages[1]);
    nlohmann::json json = nlohmann::json::parse(zorvik::job::writeJob({{window}}));
    nlohmann::json &field = json["windows"][0]["pages"][0]["fields"][c.field];
    if (!c.keepRecord) {
        for (const char *member : {"written", "rule", "read", "explanation"})
            field.erase(member);
    }
    field["from"] = c.from;
    const zorvik::job::JobRead read = zorvik::job::readJob(json.dump(), "stated.zorvik");
    ASSERT_FALSE(read.error);
    const std::optional<zorvik::job::JobError> contradiction = zorvik::jobContradiction(read.job);
    EXPECT_EQ(contradiction.has_value(), c.refused);
    if (contradiction) {
        EXPECT_EQ(contradiction->place.field, c.field);
        EXPECT_EQ(contradiction->text, c.from.get<std::string>());
        return;
    }
    PageModel opened = newModel();
    opened.restore(read.job.windows[0].pages[0]);
    EXPECT_EQ(opened.inputs().text(id(c.field)).empty(), c.blankedByRecalculate);
}

const StatedOrigin statedOrigins[] = {
    {"AsSaved", "txtrpm", "result", true, false, true},
    {"ResultWithoutItsRecordIsAResult", "txtrpm", "result", false, false, true},
    {"TypedWithoutTheRecordIsTheUsers", "txtrpm", "typed", false, false, false},
    {"TypedOverAResultIsRefused", "txtfrate", "typed", true, true, false},
    {"ResultThatWasTypedIsAResult", "txtcspeed", "result", false, false, true},
    {"DefaultWithAnotherTextIsRefused", "txtcspeed", "default", false, true, false},
    {"BlankWithATextIsRefused", "txtfeed", "blank", false, true, false},
    {"MaterialWithoutOneIsRefused", "txtspcf", "material", false, true, false},
};

INSTANTIATE_TEST_SUITE_P(Job, StatedOriginCase, testing::ValuesIn(statedOrigins),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
