// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/workedexamples.h"
#include "tools/solvetool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
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
        BadUse{"JobWithoutFile", {"--job"}, {"--job", "job file"}},
        BadUse{"JobWithAnOperation", {"--job", "a.zorvik", "face"}, {"--job", "--strict"}},
        BadUse{"UnknownOperation", {"knurling"}, {"'knurling'", "longitudinal", "face"}},
        BadUse{"OperationMustComeFirst", {"txtidiam=5", "longitudinal"}, {"'txtidiam=5'"}},
        BadUse{"UnknownField",
               {"longitudinal", "txtdiam=5"},
               {"'txtdiam'", "txtidiam", "txtspcp", "--fields"}},
        BadUse{"FinishingNameIsNoField", {"face", "ftxtidiam=5"}, {"'ftxtidiam'"}},
        BadUse{"NoEquals", {"longitudinal", "txtidiam"}, {"'txtidiam'", "NAME=TEXT", "--trace"}},
        BadUse{"UnknownOption", {"longitudinal", "--verbose"}, {"'--verbose'", "--trace"}},
        BadUse{"FieldTwice", {"face", "txtfeed=1", "txtfeed=2"}, {"'txtfeed'", "more than once"}},
        BadUse{"BadUseAfterTrace", {"face", "--trace", "txtfeed"}, {"'txtfeed'"}},
        // Printed as it is, the text would add a line that reads as another field.
        BadUse{"LineBreakInText",
               {"longitudinal", "txtidiam=5\ntxtfdiam=9"},
               {"'txtidiam'", "line break"}},
        BadUse{"CarriageReturnInSharedText", {"face", "--csv", "txtlen=5\r"}, {"'txtlen'"}},
        BadUse{
            "SeparatorWithoutCsv", {"face", "--separator", ";"}, {"--separator is only for --csv"}},
        BadUse{
            "UnknownSeparator", {"face", "--csv", "--separator", "|"}, {"wants ',', ';' or tab"}},
        BadUse{"SeparatorMissing", {"face", "--csv", "--separator"}, {"--separator wants"}},
        BadUse{"KeepWithoutCsv", {"face", "--keep", "Job"}, {"--keep is only for --csv"}},
        BadUse{"KeepMissing", {"face", "--csv", "--keep"}, {"--keep wants"}},
        BadUse{"CaptionsWithoutCsv", {"face", "--captions"}, {"--captions is only for --csv"}},
        BadUse{"FieldsWithMore", {"face", "--fields", "txtfeed=1"}, {"--fields takes no other"}},
        BadUse{"DecimalCommaWithTrace",
               {"face", "--decimal-comma", "--trace"},
               {"--trace cannot be used with --decimal-comma"}},
        BadUse{"DecimalCommaWithExplain",
               {"face", "--explain", "--decimal-comma"},
               {"--explain cannot be used with --decimal-comma"}},
        BadUse{"MaterialWithoutForce", {"taper", "--material", "2"}, {"taper has none"}},
        BadUse{"MaterialWithoutConstants",
               {"milling", "--material", "29"},
               {"group 29", "no published cutting-force constants"}},
        BadUse{"MaterialNoGroup", {"milling", "--material", "42"}, {"'42'", "--materials"}},
        BadUse{"MaterialAmbiguous",
               {"milling", "--material", "42CrMo"},
               {"42CrMo4 (group 6)", "42CrMo4+QT (group 7)"}},
        BadUse{"ToolWithoutMaterial", {"milling", "--tool", "hss"}, {"--tool goes with"}},
        BadUse{"ToolUnknown", {"milling", "--material", "2", "--tool", "hs"}, {"hss or carbide"}},
        BadUse{"ToolForShaping",
               {"shaping", "--material", "2", "--tool", "hss"},
               {"shaping has none"}},
        BadUse{"MachineFileMissing",
               {"milling", "--machine", "/nonexistent/mill"},
               {"machine file '/nonexistent/mill': cannot be opened (No such file or directory)"}},
        BadUse{"MachineFileIsADirectory",
               {"face", "--machine", "/"},
               {"machine file '/': is a directory"}},
        BadUse{"MachineFileNameQuoted",
               {"face", "--machine", "/no/\x1b[2J\xff"},
               {"'/no/\\x1b[2J\\xff'"}},
        BadUse{"HugeMachineFileNameIsCut",
               {"face", "--machine", std::string(130000, 'x')},
               {"'" + std::string(240, 'x') + "…': cannot be opened (File name too long)"}},
        BadUse{"MaterialsWithMore", {"--materials", "milling"}, {"--materials takes no other"}},
        // User text in a message: valid UTF-8 whatever it holds, cut on a character.
        BadUse{"InvalidByteInOperation", {"tur\xffning"}, {"'tur\\xffning'"}},
        BadUse{"EscapeInFieldName", {"face", "txt\x1b[31m=1"}, {"'txt\\x1b[31m'"}},
        BadUse{"LongMaterialCutOnACharacter",
               {"milling", "--material",
                "a\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84"
                "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84"
                "\xC3\x84\xC3\x84"},
               {"'a\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84"
                "\xC3\x84\xC3\x84\xC3\x84"
                "\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84\xC3\x84…'"}},
        BadUse{"HugeArgumentIsCut", {"face", std::string(128 * 1024, 'x')}, {"xxx…'"}},
        BadUse{"FileNeedsCsv", {"face", "pages.csv"}, {"'pages.csv'", "NAME=TEXT"}},
        BadUse{"TwoFiles", {"face", "--csv", "a.csv", "b.csv"}, {"'b.csv'"}},
        BadUse{"KeepTwice",
               {"face", "--csv", "--keep", "Job", "--keep", "Job"},
               {"--keep 'Job' is given twice"}},
        BadUse{"UnknownColumns", {"face", "--csv", "--columns", "all"}, {"--columns wants"}},
        BadUse{"UnknownEncoding", {"face", "--csv", "--encoding", "utf-16"}, {"--encoding"}}),
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

struct NumberText {
    const char *name;
    std::vector<std::string> args;
    std::string line;                 // one of the NAME=TEXT lines the solve must print
    std::vector<std::string> warning; // what the one warning line must name; none when empty
    int status;
};

void PrintTo(const NumberText &c, std::ostream *os)
{
    *os << c.name;
}

class SolveToolNumberText : public testing::TestWithParam<NumberText> {};

TEST_P(SolveToolNumberText, PrintsThePageAndWarnsOfEveryTextThatIsNotANumber)
{
    const NumberText &c = GetParam();
    ToolRun r = run(c.args);
    EXPECT_EQ(r.status, c.status);
    std::vector<std::string> out = lines(r.out);
    EXPECT_NE(std::find(out.begin(), out.end(), c.line), out.end()) << r.out;
    EXPECT_EQ(lines(r.err).size(), c.warning.empty() ? 0u : 1u) << r.err;
    for (const std::string &word : c.warning)
        EXPECT_NE(r.err.find(word), std::string::npos) << word << " not in: " << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SolveToolNumberText,
    testing::Values(
        NumberText{"DecimalComma",
                   {"longitudinal", "txtfeed=0,25", "txtrpm=100"},
                   "txtfeed=0,25",
                   {"warning", "txtfeed", "'0,25'", "decimal comma", "--decimal-comma"},
                   0},
        NumberText{"Strict", {"face", "--strict", "txtfeed=1..2"}, "txtfeed=1..2", {"'1..2'"}, 1},
        NumberText{
            "StrictWithNumbersOnly", {"face", "--strict", "txtfeed=.5"}, "txtfeed=.5", {}, 0},
        NumberText{"Unit", {"face", "txtlen=50 mm"}, "txtlen=50 mm", {"'50 mm'", "a unit"}, 0},
        NumberText{"ThousandsSeparator",
                   {"face", "txtrpm=1,200.5"},
                   "txtrpm=1,200.5",
                   {"'1,200.5'", "thousands separator"},
                   0},
        NumberText{"ControlBytesStayOnOneLine",
                   {"face", "txtlen=5\x1b"
                            "0\t"},
                   "txtlen=5\x1b"
                   "0\t",
                   {"'5\\x1b0\\t'"},
                   0},
        // Read with the comma as the point, and every number written with a decimal comma.
        NumberText{
            "DecimalCommaOption",
            {"longitudinal", "--decimal-comma", "txtidiam=50", "txtcspeed=150", "txtfeed=0,2"},
            "txtrpm=954,545454545455",
            {},
            0},
        NumberText{"DecimalCommaOptionKeepsAPoint",
                   {"longitudinal", "--decimal-comma", "txtfeed=0.2", "txtrpm=100"},
                   "txtfrate=20",
                   {},
                   0},
        NumberText{"DecimalCommaOptionRefusesThousands",
                   {"longitudinal", "--decimal-comma", "txtidiam=1.234,5"},
                   "txtidiam=1.234,5",
                   {"'1.234,5'", "thousands separator"},
                   0},
        // Not 1.2 up to the thousands separator: the lenient time reads no length.
        NumberText{"ThousandsNotReadLeniently",
                   {"longitudinal", "--decimal-comma", "txtlen=1.200,00", "txtfeed=1", "txtrpm=1"},
                   "txtmtime=4",
                   {"'1.200,00'", "read as 0 by"},
                   0},
        NumberText{"ExponentIsNoThousandsSeparator",
                   {"face", "txtlen=1e3,5"},
                   "txtlen=1e3,5",
                   {"'1e3,5' is not a number; read as 1000"},
                   0},
        // Either 1 200 or 1.2: neither is taken, and the text is written back as given.
        NumberText{"AmbiguousThousands",
                   {"longitudinal", "--decimal-comma", "--strict", "txtlen=1.200", "txtfeed=1",
                    "txtrpm=1"},
                   "txtlen=1.200",
                   {"'1.200'", "either 1200 with a thousands separator or 1.200 with a decimal "
                               "point"},
                   1},
        // The lenient length, inlet and outlet of the time: 100.5 + 2 + 2.
        NumberText{"LenientDecimalComma",
                   {"longitudinal", "--decimal-comma", "txtlen=100,5mm", "txtfeed=1", "txtrpm=1"},
                   "txtmtime=104,5",
                   {"'100,5mm'", "read as 100.5 by", "Machining Time rule (9a)"},
                   0},
        NumberText{"Disagreement",
                   {"longitudinal", "--strict", "txtfeed=0.3", "txtangle=90", "txtct=0.5"},
                   "txtct=0.5",
                   {"warning: txtct: UnCut Chip Thickness 0.5 disagrees with Feed 0.3 and "
                    "Approach Angle 90, which give 0.3 mm (−40 %): one of them is out of date or "
                    "mistyped."},
                   1},
        NumberText{"DisagreementExplained",
                   {"longitudinal", "--explain", "txtfeed=0.3", "txtangle=90", "txtct=0.5"},
                   "UnCut Chip Thickness 0.5 disagrees with Feed 0.3 and Approach Angle 90, which "
                   "give 0.3 mm (−40 %): one of them is out of date or mistyped.",
                   {"txtct"},
                   0},
        NumberText{"NotANumberExplained",
                   {"longitudinal", "--explain", "txtlen=1.200.0"},
                   "Typed, but not a number: read as 1.2 by the No. Of Cuts rule (5c), the Feed "
                   "Rate rule (6b) and the Machining Time rule (9a), which read up to the first "
                   "character that is not part of a number.",
                   {"'1.200.0' is not a number", "; read as 1.2 by the No. Of Cuts rule (5c)"},
                   0},
        NumberText{"ResultRoundedForReading",
                   {"longitudinal", "--explain", "txtidiam=50", "txtcspeed=150"},
                   "Rounded for reading: 954.5 rev/min.",
                   {},
                   0},
        NumberText{"TurningIsLongitudinal", {"turning", "txtidiam=50"}, "txtidiam=50", {}, 0},
        // The first solve finds the chip thickness, 0.25 × sin(90° with π = 22/7); kc is set
        // from it, 1500 × 0.249999950033342^−0.22, and a second solve takes it on to the force.
        NumberText{"MaterialSetsTheForceSolvedOn",
                   {"longitudinal", "--material", "2", "txtfeed=0.25", "txtangle=90", "txtdoc=2"},
                   "txtcf=1017.45329032385",
                   {},
                   0},
        NumberText{"MaterialLeavesAGivenForce",
                   {"face", "--material", "2", "txtct=0.25", "txtspcf=100"},
                   "txtspcf=100",
                   {},
                   0},
        NumberText{"MaterialIsExplained",
                   {"drilling", "--material", "2", "--explain", "txtct=0.25"},
                   "From material group 2 (non-alloy steel, cast steel, free-cutting steel, ≥ 0.25 "
                   "% C, annealed): kc = kc1 × h^−mc = 1500 × 0.25^−0.22 = 2034.90649117151",
                   {},
                   0},
        // The low end of the speed range and the middle of the feed range, before the solve.
        NumberText{"StartingSpeed",
                   {"taper", "--material", "GG25", "--tool", "hss", "txtdl=50", "txtds=40"},
                   "txtcspeed=15",
                   {},
                   0},
        NumberText{"StartingFeedPerTooth",
                   {"milling", "--material", "Ti6Al4V", "--tool", "carbide", "txtdiam=10"},
                   "txtfpt=0.03",
                   {},
                   0},
        NumberText{"StartingSpeedExplained",
                   {"longitudinal", "--explain", "--material", "2", "--tool", "hss"},
                   "Starting cutting speed for material group 2 (non-alloy steel, cast steel, "
                   "free-cutting steel, ≥ 0.25 % C, annealed), turning with HSS tools: the low end "
                   "of 18 to 26 m/min (table row P 2–5 \"Non-alloy steel C>=0.25% annealed or Q+T "
                   "up to 300 HB (e.g. C45/1045)\", turning, HSS; sources S13 S14 S15 S16 S29). "
                   "Roughing and finishing alike start from it; adjust from the first cut.",
                   {},
                   0},
        NumberText{"TypedSpeedIsKept",
                   {"longitudinal", "--material", "2", "--tool", "hss", "txtcspeed=33"},
                   "txtcspeed=33",
                   {},
                   0},
        NumberText{"NoFigureSaysSo",
                   {"longitudinal", "--material", "38", "--tool", "hss", "txtfeed=0.1", "--strict"},
                   "txtcspeed=",
                   {"no HSS value adopted", "Nothing was entered"},
                   1},
        NumberText{
            "MaterialsListed",
            {"--materials"},
            "38\tH\tHardened steel\thardened\t55 HRC\t4600\t\tX40CrMoV5-1+H, 1.2344+H, H13+H, "
            "42CrMo4+H",
            {},
            0}),
    [](const testing::TestParamInfo<NumberText> &info) { return info.param.name; });

// Tab-separated, in the order --explain shows the fields, with each caption, default text and
// whether a rule writes the field.
TEST(SolveTool, FieldsListsEveryFieldInWindowOrder)
{
    ToolRun r = run({"face", "--fields"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 27u);
    EXPECT_EQ(out[0], "name\tcaption\tdefault\tsolved");
    std::vector<std::string> explained;
    for (const std::string &line : lines(run({"face", "--explain"}).out)) {
        if (line.rfind('[', 0) == 0)
            explained.push_back(line);
    }
    ASSERT_EQ(explained.size(), 26u);
    for (std::size_t i = 1; i < out.size(); ++i) {
        std::string line = out[i];
        std::size_t tab = line.find('\t');
        std::size_t next = line.find('\t', tab + 1);
        EXPECT_EQ('[' + line.substr(0, tab) + "] " + line.substr(tab + 1, next - tab - 1),
                  explained[i - 1]);
    }
    EXPECT_EQ(out[4], "txtinlet\tInlet Length (mm)\t2\tno");
    EXPECT_EQ(out[8], "txtrpm\tSpindle Speed (R.P.M)\t\tyes");
}

TEST(SolveTool, HelpGoesToStdout)
{
    ToolRun r = run({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: zorvik-solve OPERATION"), std::string::npos);
}

// A machine's limits give a warning per result beyond them, on a page and on every batch row;
// --strict makes them fail the run. A fault in the file names its line. What would bring the
// power within is found by solving again with the force from the material: a feed in
// proportion to the power, 0.18 mm/rev, still needs 5 696 W.
TEST(SolveTool, MachineFileChecksTheResults)
{
    const std::string path = testing::TempDir() + "zorvik-lathe.machine";
    std::ofstream(path) << "# the old lathe\nname = Lathe 2\npower = 5500\nmax-rpm = 2000\n";
    const std::vector<std::string> page{
        "--material",  "C45",           "txtidiam=50",  "txtfdiam=45", "txtlen=100",
        "txtangle=90", "txtcspeed=250", "txtfeed=0.25", "txtmeff=0.8", "txteeff=0.9"};
    std::vector<std::string> args{"longitudinal", "--machine", path};
    args.insert(args.end(), page.begin(), page.end());
    ToolRun r = run(args);
    EXPECT_EQ(r.status, 0);
    const std::string beyond = "txtmp: needs 7360 W (7.36 kW); Lathe 2 gives 5500 W (5.5 kW) at "
                               "1591 rev/min (at most feed 0.17 mm/rev, or at most cutting speed "
                               "180 m/min, or at least no. of cuts 2)";
    EXPECT_EQ(r.err, "zorvik-solve: warning: " + beyond + "\n");
    args.push_back("--strict");
    EXPECT_EQ(run(args).status, 1);

    std::istringstream rows("txtcspeed\n250\n150\n");
    // The rows' cutting speeds, 250 and 150 m/min: only the first needs more than 5 500 W.
    std::vector<std::string> batch{"longitudinal", "--csv", "--machine", path};
    std::copy_if(page.begin(), page.end(), std::back_inserter(batch),
                 [](const std::string &arg) { return !arg.starts_with("txtcspeed"); });
    std::ostringstream out, err;
    EXPECT_EQ(runSolveTool(batch, rows, out, err), 0);
    EXPECT_EQ(lines(err.str()).size(), 1u) << err.str();
    EXPECT_NE(err.str().find("line 2, " + beyond), std::string::npos) << err.str();

    std::ofstream(path) << "name = Lathe 1\npower = 7.5 kW\n";
    r = run({"longitudinal", "--machine", path});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("line 2: power wants a number"), std::string::npos) << r.err;
}

} // namespace

namespace {

// A job as the calculator saves it, cut down: a drilling page holding a result an edit has left
// stale (the job's own cutting speed), a longitudinal window on a machine it exceeds.
const std::string jobText = R"({"format": "zorvik-job", "version": 1, "windows": [
  {"operation": "drilling", "pages": [{"fields": {
    "txtfdiam2": {"text": "10"}, "txtrpm": {"text": "500"},
    "txtcspeed": {"text": "99", "from": "out of date", "written": "99", "rule": "1a"}}}]},
  {"operation": "longitudinal", "page shown": 1,
   "machine": {"name": "Tiny, \"old\"", "max-rpm": "10"},
   "pages": [{"fields": {"txtidiam": {"text": "60"}, "txtfdiam": {"text": "52"},
                         "txtcspeed": {"text": "180"}}},
             {"fields": {"txtidiam": {"text": "52,5"}}}]}]})";

} // namespace

// Each page solved as Recalculate would solve it, one CSV row each, operation and page first.
TEST(SolveToolJob, SolvesEveryPageOfTheJobIntoOneRowEach)
{
    const std::string path = testing::TempDir() + "zorvik-bracket.zorvik";
    std::ofstream(path) << jobText;
    const ToolRun r = run({"--job", path});
    EXPECT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> rows = lines(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    EXPECT_EQ(rows[0].rfind("operation,page,", 0), 0u) << rows[0];
    EXPECT_EQ(rows[1].rfind("drilling,,", 0), 0u) << rows[1];
    EXPECT_NE(rows[1].find(",15.7142857142857,"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[1].find(",99,"), std::string::npos) << rows[1];
    EXPECT_EQ(rows[2].rfind("longitudinal,Roughing Data,60,52,", 0), 0u) << rows[2];
    // The text stays a text, quoted as the batch quotes a cell holding its separator.
    EXPECT_EQ(rows[3].rfind("longitudinal,Finishing Data,\"52,5\",", 0), 0u) << rows[3];
    EXPECT_NE(r.err.find("window 2 (longitudinal), Roughing Data, txtrpm: "), std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("Tiny"), std::string::npos) << r.err;
    EXPECT_EQ(run({"--job", path, "--strict"}).status, 1);
}

// A job cut short, and one whose field says it was typed where its record shows a result: both
// refused whole, naming the file, with nothing on the output.
TEST(SolveToolJob, RefusesABadJobWithStatusOneNamingTheFile)
{
    const struct {
        std::string bytes;
        std::string refusal;
    } jobs[] = {
        {jobText.substr(0, 200), "truncated: the file ends before the job does (byte 200)"},
        {R"({"format": "zorvik-job", "version": 1, "windows": [{"operation": "drilling",
            "pages": [{"fields": {"txtrpm": {"text": "500", "from": "typed", "written": "500",
            "rule": "8b"}}}]}]})",
         "window 1 (drilling), page 0, txtrpm: \"from\" is 'typed', but the rest of the "
         "field's record makes it 'result'"},
    };
    for (const auto &job : jobs) {
        const std::string path = testing::TempDir() + "zorvik-cut.zorvik";
        std::ofstream(path) << job.bytes;
        const ToolRun r = run({"--job", path});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "zorvik-solve: '" + path + "': " + job.refusal + "\n");
    }
}

// A text in a job that is no number is warned of in the words a single solve uses, and fails
// --strict as there.
TEST(SolveToolJob, WarnsOfATextThatIsNoNumberAsASingleSolveDoes)
{
    const std::string path = testing::TempDir() + "zorvik-text.zorvik";
    std::ofstream(path) << R"({"format": "zorvik-job", "version": 1, "windows": [
        {"operation": "drilling", "pages": [{"fields": {"txtidiam": {"text": "1.200.0"}}}]}]})";
    const ToolRun single = run({"drilling", "txtidiam=1.200.0", "--strict"});
    const ToolRun job = run({"--job", path, "--strict"});
    const std::string warning = "zorvik-solve: warning: ";
    ASSERT_EQ(single.err.rfind(warning + "argument txtidiam: '1.200.0' is not a number", 0), 0u)
        << single.err;
    EXPECT_EQ(job.err, warning + "window 1 (drilling), field " +
                           single.err.substr(warning.size() + std::string("argument ").size()));
    EXPECT_EQ(single.status, 1);
    EXPECT_EQ(job.status, 1);
}
