// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/workedexamples.h"
#include "tools/solvetool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace zorvik;
using namespace zorvik::test;

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string> &args)
{
    std::ostringstream out, err;
    int status = runSolveTool(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string &text)
{
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

struct BadUse {
    const char *name;
    std::vector<std::string> args;
    std::vector<std::string> mentions; // what the one error line must name
};

void PrintTo(const BadUse &c, std::ostream *os)
{
    *os << c.name;
}

class SolveToolBadUse : public testing::TestWithParam<BadUse> {};

TEST_P(SolveToolBadUse, PrintsOneLineOnStderrNothingOnStdoutAndExitsTwo)
{
    ToolRun r = run(GetParam().args);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    ASSERT_EQ(lines(r.err).size(), 1u) << r.err;
    for (const std::string &word : GetParam().mentions)
        EXPECT_NE(r.err.find(word), std::string::npos) << word << " not in: " << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SolveToolBadUse,
    testing::Values(
        BadUse{"NoOperation", {}, {"no operation", "longitudinal", "face"}},
        BadUse{"UnknownOperation", {"knurling"}, {"'knurling'", "longitudinal", "face"}},
        BadUse{"OperationMustComeFirst", {"txtidiam=5", "longitudinal"}, {"'txtidiam=5'"}},
        BadUse{"UnknownField", {"longitudinal", "txtdiam=5"}, {"'txtdiam'", "txtidiam", "txtspcp"}},
        BadUse{"FinishingNameIsNoField", {"face", "ftxtidiam=5"}, {"'ftxtidiam'"}},
        BadUse{"NoEquals", {"longitudinal", "txtidiam"}, {"'txtidiam'", "NAME=TEXT", "--trace"}},
        BadUse{"UnknownOption", {"longitudinal", "--verbose"}, {"'--verbose'", "--trace"}},
        BadUse{"FieldTwice", {"face", "txtfeed=1", "txtfeed=2"}, {"'txtfeed'", "more than once"}},
        BadUse{"BadUseAfterTrace", {"face", "--trace", "txtfeed"}, {"'txtfeed'"}}),
    [](const testing::TestParamInfo<BadUse> &info) { return info.param.name; });

TEST(SolveTool, PrintsTheWorkedExampleTraceThenEveryField)
{
    const WorkedExample &example = workedExample("longitudinal");
    std::vector<std::string> args{"longitudinal", "--trace"};
    for (const auto &[name, text] : example.typed)
        args.push_back(std::string(name) + '=' + std::string(text));
    ToolRun r = run(args);
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::vector<std::string> out = lines(r.out);
    const std::size_t traced = example.trace.size();
    ASSERT_EQ(out.size(), traced + 26u);
    EXPECT_EQ(std::vector<std::string>(out.begin(), out.begin() + traced),
              std::vector<std::string>(example.trace.begin(), example.trace.end()));
    // Then every field in the window's order, typed and solved alike.
    EXPECT_EQ(out[traced].rfind("txtidiam=", 0), 0u);
    EXPECT_EQ(out.back().rfind("txtspcp=", 0), 0u);
    for (const Texts &texts : {example.typed, example.results}) {
        for (const auto &[name, text] : texts) {
            std::string line = std::string(name) + '=' + std::string(text);
            EXPECT_NE(std::find(out.begin() + traced, out.end(), line), out.end()) << line;
        }
    }
}

TEST(SolveTool, StartsFromTheWindowDefaultsAndTakesTextsAsTyped)
{
    std::vector<std::string> out = lines(run({"face"}).out);
    ASSERT_EQ(out.size(), 26u);
    EXPECT_EQ(out[3], "txtinlet=2");
    EXPECT_EQ(out[4], "txtoutlet=2");
    EXPECT_EQ(out[10], "txtnoc=1");
    EXPECT_EQ(out[0], "txtidiam=");

    // A blank count, a malformed feed and a padded length are kept exactly as given.
    out = lines(run({"longitudinal", "txtnoc=", "txtfeed=1.2.3", "txtlen= 5", "txtrpm=100"}).out);
    EXPECT_EQ(out[10], "txtnoc=");
    EXPECT_EQ(out[8], "txtfeed=1.2.3");
    EXPECT_EQ(out[2], "txtlen= 5");
    EXPECT_EQ(out[9], "txtfrate="); // 6a reads the malformed feed and fails

    // A text holding "=" keeps everything after the first one.
    out = lines(run({"longitudinal", "txtidiam=1=2"}).out);
    EXPECT_EQ(out[0], "txtidiam=1=2");
}

// After the field lines, one block per field in window order: its name and caption, then its
// explanation; the worked example writes 14 fields and leaves none blank.
TEST(SolveTool, ExplainsEveryFieldAfterTheFieldLines)
{
    const WorkedExample &example = workedExample("longitudinal");
    std::vector<std::string> args{"longitudinal", "--explain"};
    for (const auto &[name, text] : example.typed)
        args.push_back(std::string(name) + '=' + std::string(text));
    ToolRun r = run(args);
    ASSERT_EQ(r.status, 0);
    const std::vector<std::string> out = lines(r.out);
    ASSERT_GT(out.size(), 26u);
    EXPECT_EQ(out[25].rfind("txtspcp=", 0), 0u);
    std::vector<std::string> headers;
    int written = 0;
    for (std::size_t i = 26; i < out.size(); ++i) {
        if (out[i].empty() && i + 1 < out.size())
            headers.push_back(out[i + 1]);
        written += out[i].rfind("Written by rule ", 0) == 0;
    }
    EXPECT_EQ(written, 14);
    ASSERT_EQ(headers.size(), 26u);
    // The window's order: the turning window shows chip thickness before chip area.
    EXPECT_EQ(headers[0], "[txtidiam] Initial Diameter (mm)");
    EXPECT_EQ(headers[13], "[txtct] UnCut Chip Thickness (mm)");
    EXPECT_EQ(headers[25], "[txteff] Total Efficiency");
    const auto rpm = std::find(out.begin(), out.end(), "[txtrpm] Spindle Speed (R.P.M)");
    ASSERT_NE(rpm, out.end());
    EXPECT_EQ(*(rpm + 1), "954.545454545455");
    EXPECT_EQ(*(rpm + 2), "Written by rule 8b in pass 1:");

    // Blank fields are explained too, and the help documents the option.
    r = run({"face", "--explain", "txtfeed=1..2"});
    EXPECT_NE(r.out.find("[txtfrate] Feed Rate (mm/min.)\nBlank: no rule filled it.\n"),
              std::string::npos);
    EXPECT_NE(run({"--help"}).out.find("--explain"), std::string::npos);
}

TEST(SolveTool, HelpGoesToStdout)
{
    ToolRun r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: zorvik-solve OPERATION"), std::string::npos);
}

} // namespace
