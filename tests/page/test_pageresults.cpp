// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pageresults.h"
#include "examples/typedpage.h"
#include "solver/solve.h"

#include <gtest/gtest.h>

namespace {

using zorvik::FieldId;
using zorvik::FieldStore;
using zorvik::PageResults;
using Look = PageResults::Look;

// The longitudinal worked example solved (50 -> 40 mm, 150 m/min, 0.2 mm/rev), then edits, each
// "field=text" ("solve" solves the page again, "import field" takes the field's text as a result
// of the other page), then what one field looks like.
struct Case {
    const char *name;
    std::vector<std::string> steps;
    const char *field;
    Look look;
    const char *explanationHas = "";
};

class PageResultsCase : public testing::TestWithParam<Case> {};

TEST_P(PageResultsCase, OutOfDateFollowsTheSources)
{
    const Case &c = GetParam();
    const zorvik::OperationDefinition &operation = zorvik::test::operationNamed("longitudinal");
    const zorvik::RelationList &list = operation.relations;
    const zorvik::Captions captions = operation.captions();
    const zorvik::ListSources sources(list);
    FieldStore page =
        zorvik::test::storeWith(operation, zorvik::test::workedExample("longitudinal").typed);
    PageResults results(list, captions);
    results.clear(page.texts());
    auto solvePage = [&] {
        zorvik::SolveRecord record;
        ASSERT_TRUE(zorvik::solve(list, page, {}, &record));
        results.solved(sources, record, zorvik::explainSolve(list, captions, record, page),
                       page.texts());
    };
    solvePage();
    for (const std::string &step : c.steps) {
        if (step == "solve") {
            solvePage();
            continue;
        }
        if (step.starts_with("import ")) {
            const FieldId id = zorvik::test::fieldNamed(operation, step.substr(7));
            results.imported(id, "Imported from Finishing Data", {});
            continue;
        }
        const std::size_t equals = step.find('=');
        const FieldId id = zorvik::test::fieldNamed(operation, step.substr(0, equals));
        page.setText(id, step.substr(equals + 1));
        results.edited(id, page.text(id));
    }
    const FieldId id = zorvik::test::fieldNamed(operation, c.field);
    EXPECT_EQ(results.look(id), c.look);
    EXPECT_NE(results.explanation(id).find(c.explanationHas), std::string::npos)
        << results.explanation(id);
}

const Case cases[] = {
    {"SpeedAfterAFeedChangeStaysFresh", {"txtfeed=0.3"}, "txtrpm", Look::Fresh},
    {"FeedRateFollowsTheFeed", {"txtfeed=0.3"}, "txtfrate", Look::OutOfDate, "Feed changed"},
    {"SpeedFollowsTheCuttingSpeed",
     {"txtcspeed=200"},
     "txtrpm",
     Look::OutOfDate,
     "Computed before Cutting Speed changed"},
    {"ThroughAnotherResult", {"txtcspeed=200"}, "txtmtime", Look::OutOfDate, "through Feed Rate"},
    {"DepthIgnoresTheSpeed", {"txtcspeed=200"}, "txtdoc", Look::Fresh},
    {"UndoneEditRestoresTheLook", {"txtcspeed=200", "txtcspeed=150"}, "txtrpm", Look::Fresh},
    {"ComputedFromAnOutOfDateResult",
     {"txtcspeed=200", "txtfrate=", "solve"},
     "txtfrate",
     Look::OutOfDate,
     "Computed from Spindle Speed, which was out of date already"},
    {"ResolvedAfterRecalculating",
     {"txtcspeed=200", "txtrpm=", "txtfrate=", "solve"},
     "txtfrate",
     Look::Fresh},
    {"TypedOverAResultIsPlain", {"txtrpm=900"}, "txtrpm", Look::Plain, "900"},
    {"ImportedIsNotFresh", {"txtrpm=900", "import txtrpm"}, "txtrpm", Look::Imported},
    // Calculate fills only blanks, so the imported text is still not this page's.
    {"ImportedStaysImportedThroughASolve",
     {"txtrpm=900", "import txtrpm", "solve"},
     "txtrpm",
     Look::Imported,
     "Imported from"},
    // As Recalculate blanks it.
    {"ImportedThenSolvedHereIsFresh",
     {"txtrpm=900", "import txtrpm", "txtrpm=", "solve"},
     "txtrpm",
     Look::Fresh,
     "Written by rule"},
};

INSTANTIATE_TEST_SUITE_P(PageResults, PageResultsCase, testing::ValuesIn(cases),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
