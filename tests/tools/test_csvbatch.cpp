// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"
#include "tests/support/csvcells.h"
#include "tools/csvreader.h"
#include "tools/solvetool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <sstream>

using namespace zorvik;

namespace {

using Table = std::vector<std::vector<std::string>>;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun runWithInput(const std::vector<std::string> &args, const std::string &input)
{
    std::istringstream in(input);
    std::ostringstream out, err;
    int status = runSolveTool(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The tool's output read back as input would be.
Table readBack(const std::string &text, char separator = ',')
{
    Table table;
    CsvReader reader(
        64,
        [&](const CsvRecord &record) {
            table.emplace_back(record.cells.begin(), record.cells.begin() + record.cellCount);
            return true;
        },
        separator);
    bool read = reader.feed(text) && reader.finish();
    EXPECT_TRUE(read) << (reader.fault() ? reader.fault()->what : "") << " in:\n" << text;
    return table;
}

std::size_t lineCount(const std::string &text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

std::string row(const std::vector<std::string> &cells)
{
    std::string text;
    test::appendCsvRow(text, cells);
    return text;
}

// Texts as a spreadsheet holds them: numbers of several shapes, blanks, malformed numbers, and
// texts that need quotes.
std::string randomText(std::mt19937 &random)
{
    static const std::vector<std::string> odd{"", "", "abc", "1,5", "2\"", " 7", "0", "-3", "1e3"};
    switch (random() % 4) {
    case 0:
        return odd[random() % odd.size()];
    case 1:
        return std::to_string(random() % 500 + 1);
    default:
        return std::to_string(random() % 2000 + 1) + '.' + std::to_string(random() % 100);
    }
}

TEST(CsvBatch, EveryRowEqualsASingleSolveOfTheSamePageForEveryOperation)
{
    std::mt19937 random(14);
    for (const OperationDefinition &operation : operationDefinitions()) {
        SCOPED_TRACE(std::string(operation.name));
        std::vector<std::string_view> fields = operation.relations.fields;
        for (int trial = 0; trial < 4; ++trial) {
            // Any subset of the fields in any order as columns, one more field shared by
            // every row through NAME=TEXT.
            std::shuffle(fields.begin(), fields.end(), random);
            std::size_t columnCount = 1 + random() % (fields.size() - 1);
            std::vector<std::string> header(fields.begin(), fields.begin() + columnCount);
            std::string shared =
                std::string(fields[columnCount]) + '=' + std::to_string(random() % 90 + 1);

            std::string input = row(header);
            Table pages;
            for (int page = 0; page < 60; ++page) {
                std::vector<std::string> cells;
                for (std::size_t i = 0; i < columnCount; ++i)
                    cells.push_back(randomText(random));
                pages.push_back(cells);
                input += row(cells);
            }
            ToolRun batch =
                runWithInput({std::string(operation.name), "--csv", "--jobs", "3", shared}, input);
            ASSERT_EQ(batch.status, 0) << batch.err;
            Table output = readBack(batch.out);
            ASSERT_EQ(output.size(), pages.size() + 1);
            ASSERT_EQ(output[0], std::vector<std::string>(operation.relations.fields.begin(),
                                                          operation.relations.fields.end()));

            for (std::size_t page = 0; page < pages.size(); ++page) {
                std::vector<std::string> args{std::string(operation.name), shared};
                for (std::size_t i = 0; i < columnCount; ++i)
                    args.push_back(header[i] + '=' + pages[page][i]);
                std::ostringstream single, err;
                ASSERT_EQ(runSolveTool(args, single, err), 0) << err.str();
                std::string expected;
                for (std::size_t i = 0; i < output[0].size(); ++i)
                    expected += output[0][i] + '=' + output[page + 1][i] + '\n';
                ASSERT_EQ(expected, single.str()) << "page " << page << ": " << row(pages[page]);
            }
        }
    }
}

struct Quoting {
    const char *name;
    std::string cell;    // as the field holds it
    std::string written; // as it stands in the output
};

void PrintTo(const Quoting &c, std::ostream *os)
{
    *os << c.name;
}

class CsvBatchQuoting : public testing::TestWithParam<Quoting> {};

TEST_P(CsvBatchQuoting, CellsComeOutQuotedOnlyWhereNeededAndReadBackAsTheyWent)
{
    const Quoting &c = GetParam();
    std::string input = "txtlen,txtidiam\n5," + c.written + "\n";
    ToolRun r = runWithInput({"face", "--csv", "--jobs", "1"}, input);
    ASSERT_EQ(r.status, 0) << r.err;
    // txtidiam is the first field, txtlen the third.
    std::string second = r.out.substr(r.out.find('\n') + 1);
    EXPECT_EQ(second.substr(0, c.written.size() + 4), c.written + ",,5,");
    Table output = readBack(r.out);
    ASSERT_EQ(output.size(), 2u);
    EXPECT_EQ(output[1][0], c.cell);
    EXPECT_EQ(output[1][2], "5");
}

INSTANTIATE_TEST_SUITE_P(
    Table, CsvBatchQuoting,
    testing::Values(Quoting{"Comma", "1,5", "\"1,5\""},
                    Quoting{"Quote", "say \"50\"", "\"say \"\"50\"\"\""},
                    Quoting{"LineBreak", "50\nmm", "\"50\nmm\""},
                    Quoting{"CrLfInside", "50\r\nmm", "\"50\r\nmm\""},
                    Quoting{"LoneSpace", " ", " "}, Quoting{"PaddedNumber", " 50 ", " 50 "},
                    Quoting{"Blank", "", ""}, Quoting{"Utf8", "\xC3\x98 50", "\xC3\x98 50"}),
    [](const testing::TestParamInfo<Quoting> &info) { return info.param.name; });

// A byte that matters is found at every position of cells of every length, short and long.
TEST(CsvCells, ABytesMeaningDoesNotDependOnItsPosition)
{
    struct Byte {
        std::string bytes;
        bool quoted;
        bool utf8;
    };
    const std::vector<Byte> bytes{{",", true, true},      {"\"", true, true},
                                  {"\r", true, true},     {"\n", true, true},
                                  {" ", false, true},     {"\xC3\x98", false, true},
                                  {"\xFF", false, false}, {"\xC3", false, false}};
    for (std::size_t length = 1; length <= 24; ++length) {
        for (std::size_t position = 0; position < length; ++position) {
            for (const Byte &byte : bytes) {
                std::string cell(length, '7');
                cell.replace(position, 1, byte.bytes);
                std::string written;
                test::appendCsvCell(written, cell);
                SCOPED_TRACE(testing::Message() << "length " << length << ", position " << position
                                                << ", byte " << int(byte.bytes[0]));
                EXPECT_EQ(written.front() == '"', byte.quoted);

                std::vector<std::pair<std::size_t, std::string>> records;
                CsvReader reader(1, [&](const CsvRecord &record) {
                    records.emplace_back(record.line, record.cells[0]);
                    return true;
                });
                bool read = reader.feed("h\n" + written + "\nend\n") && reader.finish();
                ASSERT_EQ(read, byte.utf8);
                if (!byte.utf8) {
                    EXPECT_EQ(reader.fault()->what.rfind(
                                  "bytes that are not UTF-8 in cell 1 (0x" +
                                      std::string(byte.bytes[0] == '\xFF' ? "ff" : "c3") +
                                      " at its byte " + std::to_string(position + 1) + ")",
                                  0),
                              0u)
                        << reader.fault()->what;
                    continue;
                }
                // A CR alone ends a line as LF does.
                std::size_t breaks = static_cast<std::size_t>(std::count_if(
                    cell.begin(), cell.end(), [](char c) { return c == '\n' || c == '\r'; }));
                EXPECT_EQ(records, (std::vector<std::pair<std::size_t, std::string>>{
                                       {1, "h"}, {2, cell}, {3 + breaks, "end"}}));
            }
        }
    }
}

// Output that cannot be written, as on a full disk, is a failure reported once, and the rest
// of the input is not read for nothing.
TEST(CsvBatch, OutputThatCannotBeWrittenStopsTheRun)
{
    struct FullDisk : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
        std::streamsize xsputn(const char *, std::streamsize) override { return 0; }
    };
    std::string input = "txtidiam,txtfeed\n";
    for (int i = 0; i < 20000; ++i)
        input += std::to_string(i + 10) + ",0.2\n";
    for (const char *jobs : {"1", "2"}) {
        FullDisk disk;
        std::ostream out(&disk);
        std::istringstream in(input);
        std::ostringstream err;
        EXPECT_EQ(runSolveTool({"longitudinal", "--csv", "--jobs", jobs}, in, out, err), 1);
        EXPECT_EQ(err.str(), "zorvik-solve: the output could not be written\n");
        EXPECT_LT(static_cast<std::size_t>(in.tellg()), input.size()) << jobs << " jobs";
    }
}

TEST(CsvBatch, ByteOrderMarkAndCrLfReadAsPlainLf)
{
    std::string plain = "txtidiam,txtfeed\n50,0.2\n\"4\n0\",0.1\n";
    std::string windows = "\xEF\xBB\xBFtxtidiam,txtfeed\r\n50,0.2\r\n\"4\n0\",0.1\r\n";
    ToolRun expected = runWithInput({"longitudinal", "--csv"}, plain);
    ToolRun r = runWithInput({"longitudinal", "--csv"}, windows);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, expected.out);
    EXPECT_EQ(lineCount(r.out), 4u);
}

TEST(CsvBatch, AQuotedFirstCellIsNoByteOrderMark)
{
    // The mark's first byte arrives, the rest does not: it is text, and not UTF-8.
    ToolRun r = runWithInput({"face", "--csv"}, "\xEF"
                                                "txtidiam\n1\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("line 1: bytes that are not UTF-8"), std::string::npos) << r.err;
}

TEST(CsvBatch, HeaderOnlyPrintsTheHeaderAlone)
{
    for (const char *input : {"txtidiam,txtlen\n", "txtidiam,txtlen", "txtidiam\r\n"}) {
        ToolRun r = runWithInput({"face", "--csv"}, input);
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(lineCount(r.out), 1u) << r.out;
        EXPECT_EQ(r.out.rfind("txtdiam,", 0), std::string::npos);
    }
}

// Taper turning has no specific cutting force: a material alone could only be ignored.
TEST(CsvBatch, MaterialWithoutToolInTaperIsWarned)
{
    ToolRun r = runWithInput({"taper", "--csv", "--strict"}, "material,txtwl\nC45,100\n");
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("line 2, material: taper has no specific cutting force"),
              std::string::npos)
        << r.err;
    r = runWithInput({"taper", "--csv"}, "material,tool,txtwl\nC45,hss,100\n");
    EXPECT_EQ(r.err.find("no specific cutting force"), std::string::npos) << r.err;
}

TEST(CsvBatch, OrderIsKeptWithSeveralJobs)
{
    std::string input = "txtidiam,txtlen,txtfdiam\n";
    for (int i = 1; i <= 3000; ++i)
        input += std::to_string(i) + ',' + std::to_string(i % 97 + 1) + ",1\n";
    ToolRun one = runWithInput({"longitudinal", "--csv", "--jobs", "1"}, input);
    ASSERT_EQ(one.status, 0);
    Table output = readBack(one.out);
    ASSERT_EQ(output.size(), 3001u);
    for (int i = 1; i <= 3000; ++i)
        ASSERT_EQ(output[static_cast<std::size_t>(i)][0], std::to_string(i));
    for (const char *jobs : {"2", "5"}) {
        ToolRun many = runWithInput({"longitudinal", "--csv", "--jobs", jobs}, input);
        EXPECT_EQ(many.status, 0);
        EXPECT_EQ(many.out, one.out) << jobs << " jobs";
    }
}

struct Malformed {
    const char *name;
    std::string row;
    std::string fault;
};

void PrintTo(const Malformed &c, std::ostream *os)
{
    *os << c.name;
}

class CsvBatchMalformedRow : public testing::TestWithParam<Malformed> {};

TEST_P(CsvBatchMalformedRow, StopsWithTheRowsBeforeItCompleteAndExitsOne)
{
    const Malformed &c = GetParam();
    // The header, a row over lines 2 and 3, 600 rows more: the bad row starts on line 604.
    std::string good = "txtidiam,txtfeed,txtlen\n\"5\n0\",0.2,100\n";
    for (int i = 0; i < 600; ++i)
        good += std::to_string(i + 10) + ",0.1,50\r\n";
    std::string tail = "60,0.3,20\n";
    for (const char *jobs : {"1", "2", "4"}) {
        ToolRun expected = runWithInput({"longitudinal", "--csv", "--jobs", jobs}, good);
        ASSERT_EQ(expected.status, 0);
        ToolRun r = runWithInput({"longitudinal", "--csv", "--jobs", jobs}, good + c.row + tail);
        EXPECT_EQ(r.status, 1) << jobs << " jobs";
        EXPECT_EQ(r.out, expected.out) << jobs << " jobs";
        // The fault, after the warning that the first row's "5\n0" is not a number.
        EXPECT_EQ(lineCount(r.err), 2u) << r.err;
        EXPECT_NE(r.err.find("line 604: " + c.fault), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CsvBatchMalformedRow,
    testing::Values(
        Malformed{"TooFewCells", "1,2\n", "2 cells where the header has 3"},
        Malformed{"TooManyCells", "1,2,3,4\n", "4 cells where the header has 3"},
        Malformed{"DecimalCommaOutsideQuotes", "1,5,0,2,3\n",
                  "5 cells where the header has 3 (a decimal comma outside quotes"},
        Malformed{"EmptyLine", "\n", "1 cell where the header has 3"},
        Malformed{"UnclosedQuote", "1,\"2,3\n", "an unclosed quote"},
        Malformed{"QuoteInsideACell", "1,2\"x,3\n", "a quote out of place"},
        Malformed{"TextAfterClosingQuote", "1,\"2\" ,3\n", "a quote out of place"},
        Malformed{"InvalidByte", "1,\xFF,3\n", "bytes that are not UTF-8 in cell 2"},
        Malformed{"Overlong", "\"\n\xC0\xAF\",2,3\n", "bytes that are not UTF-8 in cell 1"},
        Malformed{"Surrogate", "1,2,\xED\xA0\x80\n", "bytes that are not UTF-8 in cell 3"},
        Malformed{"CutSequence", "1,2,\xE2\x82\n", "bytes that are not UTF-8"},
        Malformed{"CellOverOneMiB", "1," + std::string((1 << 20) + 1, '7') + ",2\n",
                  "a cell longer than 1 MiB"},
        Malformed{"QuotedCellOverOneMiB", "1,\"" + std::string((1 << 20) + 1, '7') + "\",2\n",
                  "a cell longer than 1 MiB"}),
    [](const testing::TestParamInfo<Malformed> &info) { return info.param.name; });

struct HeaderFault {
    const char *name;
    std::vector<std::string> args;
    std::string input;
    std::vector<std::string> mentions;
};

void PrintTo(const HeaderFault &c, std::ostream *os)
{
    *os << c.name;
}

class CsvBatchBadUse : public testing::TestWithParam<HeaderFault> {};

TEST_P(CsvBatchBadUse, PrintsOneLineOnStderrNothingOnStdoutAndExitsTwo)
{
    const HeaderFault &c = GetParam();
    ToolRun r = runWithInput(c.args, c.input);
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(lineCount(r.err), 1u) << r.err;
    for (const std::string &word : c.mentions)
        EXPECT_NE(r.err.find(word), std::string::npos) << word << " not in: " << r.err;
}

const std::vector<std::string> csvFace{"face", "--csv"};

INSTANTIATE_TEST_SUITE_P(
    Table, CsvBatchBadUse,
    testing::Values(
        HeaderFault{"UnknownField", csvFace, "txtidiam,txtdiam\n1,2\n", {"'txtdiam'", "txtspcp"}},
        HeaderFault{"RepeatedField",
                    csvFace,
                    "txtlen,txtidiam,txtlen\n1,2,3\n",
                    {"'txtlen'", "more than once"}},
        HeaderFault{"FinishingPageName", csvFace, "ftxtidiam\n1\n", {"'ftxtidiam'"}},
        HeaderFault{"UnknownSuggestsTheClosest",
                    csvFace,
                    "Initial Lenght\n1\n",
                    {"'Initial Lenght'", "did you mean 'Initial Length (mm)'", "Feed (mm/rev)"}},
        HeaderFault{
            "EscapeInAHeader", csvFace, "txt\x1b[31mlen\x01\n1\n", {"'txt\\x1b[31mlen\\x01'"}},
        HeaderFault{"Semicolons",
                    {"face", "--csv", "--separator", ","},
                    "txtidiam;txtlen\n50;100\n",
                    {"'txtidiam;txtlen'", "not semicolons"}},
        HeaderFault{"Tabs",
                    {"face", "--csv", "--separator", ","},
                    "txtidiam\ttxtlen\n50\t100\n",
                    {"not tabs"}},
        HeaderFault{"MoreColumnsThanFields",
                    csvFace,
                    "txtidiam" + std::string(27 * 9, ',') + "\n",
                    {"244 columns"}},
        HeaderFault{"EmptyHeaderLine", csvFace, "\ntxtidiam\n", {"names no column"}},
        HeaderFault{"UnnamedColumnWithContent",
                    csvFace,
                    "txtidiam,,\n1,,x\n",
                    {"line 2", "column 3", "'x'"}},
        HeaderFault{"NoInputAtAll", csvFace, "", {"no header"}},
        HeaderFault{"BomOnly", csvFace, "\xEF\xBB\xBF", {"no header"}},
        HeaderFault{"WithTrace", {"face", "--csv", "--trace"}, "txtidiam\n1\n", {"--trace"}},
        HeaderFault{"TraceFirst", {"face", "--trace", "--csv"}, "txtidiam\n1\n", {"--csv"}},
        HeaderFault{"CsvTwice", {"face", "--csv", "-", "--csv"}, "txtidiam\n", {"more than once"}},
        HeaderFault{"JobsWithoutCsv", {"face", "--jobs", "2"}, "", {"--jobs"}},
        HeaderFault{"ZeroJobs", {"face", "--csv", "--jobs", "0"}, "txtidiam\n", {"--jobs"}},
        HeaderFault{"JobsNotANumber", {"face", "--csv", "--jobs", "2x"}, "txtidiam\n", {"--jobs"}},
        HeaderFault{"JobsMissing", {"face", "--csv", "--jobs"}, "txtidiam\n", {"--jobs"}},
        HeaderFault{
            "SharedFieldUnknown", {"face", "--csv", "txtnone=1"}, "txtidiam\n", {"'txtnone'"}},
        HeaderFault{"ColumnNotKept",
                    {"face", "--csv", "--keep", "Job"},
                    "Job,Part,txtidiam\n",
                    {"'Part'", "--keep"}},
        HeaderFault{"KeptColumnMissing",
                    {"face", "--csv", "--keep", "Job"},
                    "txtidiam\n1\n",
                    {"'Job'", "not in the header"}},
        HeaderFault{"KeepGivenTwice",
                    {"face", "--csv", "--keep", "Job", "--keep", "Job"},
                    "Job,txtidiam\n",
                    {"'Job'", "given twice"}},
        HeaderFault{"KeptColumnTwice",
                    {"face", "--csv", "--keep", "Job"},
                    "Job,txtidiam,Job\n",
                    {"'Job'", "more than once"}},
        HeaderFault{"KeepNamesAField",
                    {"face", "--csv", "--keep", "Feed (mm/rev)"},
                    "Feed (mm/rev)\n",
                    {"'Feed (mm/rev)'", "names a field"}},
        HeaderFault{"CaptionAndNameOfOneField",
                    csvFace,
                    "txtidiam,Initial Length (mm)\n1,2\n",
                    {"'Initial Length (mm)'", "more than once"}},
        HeaderFault{"SameFieldTypedTwoWays",
                    {"longitudinal", "--csv"},
                    "txtIDIAM; Feed :;initial diameter\n",
                    {"'txtidiam'", "more than once", "'initial diameter'"}},
        HeaderFault{"MissingFileAfterOptions",
                    {"face", "--csv", "--keep", "Job", "/nonexistent/pages.csv"},
                    "Job,txtidiam\n",
                    {"'/nonexistent/pages.csv': cannot be opened (No such file or directory)"}},
        HeaderFault{
            "FileIsADirectory", {"face", "--csv", "/"}, "txtidiam\n", {"'/': is a directory"}},
        HeaderFault{"MissingFile",
                    {"face", "--csv", "/nonexistent/pages.csv"},
                    "txtidiam\n",
                    {"'/nonexistent/pages.csv'"}}),
    [](const testing::TestParamInfo<HeaderFault> &info) { return info.param.name; });

// A file as a spreadsheet writes it, against the single solve of the same page.
struct Spreadsheet {
    const char *name;
    std::vector<std::string> options;      // after OPERATION --csv
    std::string input;                     // its header and one row
    std::vector<std::string> page;         // the same page as NAME=TEXT, numbers with a point
    char separator;                        // of the output
    bool decimalComma;                     // in the output's numbers
    std::vector<std::string> kept = {};    // the output's first cells
    std::vector<std::string> warning = {}; // what the one warning line must name; none when empty
    int status = 0;
    const char *operation = "longitudinal";
};

void PrintTo(const Spreadsheet &c, std::ostream *os)
{
    *os << c.name;
}

class CsvBatchSpreadsheet : public testing::TestWithParam<Spreadsheet> {};

TEST_P(CsvBatchSpreadsheet, ReadsAndWritesTheRowAsTheSpreadsheetDoes)
{
    const Spreadsheet &c = GetParam();
    std::vector<std::string> args{c.operation, "--csv"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    ToolRun batch = runWithInput(args, c.input);
    EXPECT_EQ(batch.status, c.status) << batch.err;
    EXPECT_EQ(lineCount(batch.err), c.warning.empty() ? 0u : 1u) << batch.err;
    for (const std::string &word : c.warning)
        EXPECT_NE(batch.err.find(word), std::string::npos) << word << " not in: " << batch.err;

    std::vector<std::string> singleArgs{c.operation};
    singleArgs.insert(singleArgs.end(), c.page.begin(), c.page.end());
    std::ostringstream single, err;
    runSolveTool(singleArgs, single, err);
    std::vector<std::string> names = c.kept, cells = c.kept;
    std::istringstream lines(single.str());
    for (std::string line; std::getline(lines, line);) {
        std::string text = line.substr(line.find('=') + 1);
        if (c.decimalComma)
            std::replace(text.begin(), text.end(), '.', ',');
        names.push_back(line.substr(0, line.find('=')));
        cells.push_back(text);
    }
    Table output = readBack(batch.out, c.separator);
    ASSERT_EQ(output.size(), 2u) << batch.out;
    EXPECT_EQ(std::vector<std::string>(output[0].begin() + c.kept.size(), output[0].end()),
              std::vector<std::string>(names.begin() + c.kept.size(), names.end()));
    EXPECT_EQ(output[1], cells);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CsvBatchSpreadsheet,
    testing::Values(
        Spreadsheet{"SemicolonsFromTheHeader",
                    {},
                    "\xEF\xBB\xBFtxtidiam;txtcspeed;txtfeed\r\n50;150,5;0,25\r\n",
                    {"txtidiam=50", "txtcspeed=150.5", "txtfeed=0.25"},
                    ';',
                    true},
        Spreadsheet{"TabsFromTheHeader",
                    {},
                    "txtidiam\ttxtfeed\n50\t2,5E-1\n",
                    {"txtidiam=50", "txtfeed=2.5E-1"},
                    '\t',
                    true},
        // Drilling's page is prepared before the solve, which writes the blank hole diameter.
        Spreadsheet{"PreparedCellKeepsItsDecimalComma",
                    {},
                    "txtidiam;txtfdiam;txtfdiam2\n10;22,5;\n",
                    {"txtidiam=10", "txtfdiam=22.5", "txtfdiam2="},
                    ';',
                    true,
                    {},
                    {},
                    0,
                    "drilling"},
        Spreadsheet{"PointsInASemicolonFile",
                    {},
                    "txtidiam;txtfeed\n50;0.25\n",
                    {"txtidiam=50", "txtfeed=0.25"},
                    ';',
                    true},
        Spreadsheet{"OneColumnNeedsTheSeparatorGiven",
                    {"--separator", ";"},
                    "txtfeed\n0,25\n",
                    {"txtfeed=0.25"},
                    ';',
                    true},
        Spreadsheet{"DecimalCommaInQuotedCommaCells",
                    {"--decimal-comma", "txtrpm=100"},
                    "txtidiam,txtfeed\n50,\"0,25\"\n",
                    {"txtrpm=100", "txtidiam=50", "txtfeed=0.25"},
                    ',',
                    true},
        Spreadsheet{"DecimalCommaInACommaFileIsWarned",
                    {"txtrpm=100"},
                    "txtidiam,txtfeed\n50,\"0,25\"\n",
                    {"txtrpm=100", "txtidiam=50", "txtfeed=0,25"},
                    ',',
                    false,
                    {},
                    {"line 2, txtfeed: '0,25' is not a number", "--decimal-comma"}},
        Spreadsheet{"StrictExitsOneAfterTheRows",
                    {"--strict"},
                    "txtidiam,Feed (mm/rev)\n50,0.2mm\n",
                    {"txtidiam=50", "txtfeed=0.2mm"},
                    ',',
                    false,
                    {},
                    {"line 2, Feed (mm/rev): '0.2mm'", "a unit"},
                    1},
        // No rule gives the feed back from the chip thickness: only the thickness disagrees.
        Spreadsheet{"DisagreementStrictExitsOne",
                    {"--strict"},
                    "txtfeed,txtangle,txtct\n0.3,90,0.5\n",
                    {"txtfeed=0.3", "txtangle=90", "txtct=0.5"},
                    ',',
                    false,
                    {},
                    {"line 2, txtct: UnCut Chip Thickness 0.5 disagrees with Feed 0.3 and "
                     "Approach Angle 90, which give 0.3 mm (−40 %)"},
                    1},
        Spreadsheet{"NotANumberSaysHowRulesTakeIt",
                    {},
                    "txtlen\n1.200.0\n",
                    {"txtlen=1.200.0"},
                    ',',
                    false,
                    {},
                    {"line 2, txtlen: '1.200.0' is not a number",
                     "; read as 1.2 by the No. Of Cuts rule (5c)"}},
        Spreadsheet{"SharedTextWithADecimalComma",
                    {"txtfeed=0,25"},
                    "txtidiam;txtrpm\n50;100\n",
                    {"txtidiam=50", "txtrpm=100", "txtfeed=0.25"},
                    ';',
                    true},
        Spreadsheet{"SharedTextWarnedOnce",
                    {"txtfeed=0,25"},
                    "txtidiam\n50\n",
                    {"txtidiam=50", "txtfeed=0,25"},
                    ',',
                    false,
                    {},
                    {"argument txtfeed: '0,25'"}},
        Spreadsheet{
            "CaptionsAndNamesMixed",
            {"--keep", "Part", "--keep", "Job"},
            "Feed (mm/rev),Job,Initial Diameter (mm),Part,txtrpm\n0.2,7,50,\"shaft, left\",100\n",
            {"txtfeed=0.2", "txtidiam=50", "txtrpm=100"},
            ',',
            false,
            {"7", "shaft, left"}},
        // A comma in quotes separates nothing, in the header either.
        Spreadsheet{"KeptCellsAreCopiedUnchanged",
                    {"--keep", "Job, side"},
                    "\"Job, side\";txtidiam\n1,5;50\n",
                    {"txtidiam=50"},
                    ';',
                    true,
                    {"1,5"}},
        Spreadsheet{"MaterialColumnIsKept",
                    {},
                    "material;txtct\n2;0,25\n",
                    {"--material", "2", "txtct=0.25"},
                    ';',
                    true,
                    {"2"}},
        Spreadsheet{"MaterialForEveryRow",
                    {"--material", "21"},
                    "txtfeed,txtangle,txtdoc\n0.25,90,2\n",
                    {"--material", "21", "txtfeed=0.25", "txtangle=90", "txtdoc=2"},
                    ',',
                    false},
        Spreadsheet{"MaterialCellOverridesTheShared",
                    {"--material", "21"},
                    "txtct,material\n0.25,2\n",
                    {"--material", "2", "txtct=0.25"},
                    ',',
                    false,
                    {"2"}},
        Spreadsheet{"HeadersIgnoringUnitAndColon",
                    {},
                    "Initial Diameter:;txtFeed;Cutting Speed (ft/min)\n50;0,25;150\n",
                    {"txtidiam=50", "txtfeed=0.25", "txtcspeed=150"},
                    ';',
                    true},
        // The unnamed columns are written back where the output keeps columns.
        Spreadsheet{"TrailingUnnamedColumns",
                    {},
                    "txtidiam;txtfeed;;\n50;0,25;;\n",
                    {"txtidiam=50", "txtfeed=0.25"},
                    ';',
                    true,
                    {"", ""}},
        Spreadsheet{"LenientFieldWithADecimalComma",
                    {},
                    "txtlen;txtfeed;txtrpm\n100,5mm;1;1\n",
                    {"txtlen=100.5mm", "txtfeed=1", "txtrpm=1"},
                    ';',
                    true,
                    {},
                    {"line 2, txtlen: '100,5mm'", "read as 100.5 by"}},
        Spreadsheet{"Windows1252",
                    {"--encoding", "windows-1252", "--keep", "Teil"},
                    "Teil;txtidiam\n\xfc\x80;50\n",
                    {"txtidiam=50"},
                    ';',
                    true,
                    {"\xC3\xBC\xE2\x82\xAC"}},
        Spreadsheet{"BadMaterialCellIsNotTheShared",
                    {"--material", "2"},
                    "txtct,Material\n0.25,zz\n",
                    {"txtct=0.25"},
                    ',',
                    false,
                    {"zz"},
                    {"line 2, material: 'zz' names no material group"}},
        Spreadsheet{"MaterialCellWithoutConstantsIsWarned",
                    {"--strict"},
                    "material,txtct\n29,0.25\n",
                    {"txtct=0.25"},
                    ',',
                    false,
                    {"29"},
                    {"line 2, material: material group 29", "no published"},
                    1},
        // The starting cutting speed and feed of each row's material and tool material.
        Spreadsheet{"ToolColumnPerRow",
                    {"--material", "C45"},
                    "tool,txtidiam,txtfdiam\ncarbide,50,40\n",
                    {"--material", "C45", "--tool", "carbide", "txtidiam=50", "txtfdiam=40"},
                    ',',
                    false,
                    {"carbide"}},
        Spreadsheet{"MaterialDesignationAndToolCells",
                    {},
                    "material,tool,txtidiam\n304,hss,50\n",
                    {"--material", "1.4301", "--tool", "hss", "txtidiam=50"},
                    ',',
                    false,
                    {"304", "hss"}},
        Spreadsheet{"UnknownToolIsWarned",
                    {"--material", "2"},
                    "tool,txtidiam\nceramic,50\n",
                    {"--material", "2", "txtidiam=50"},
                    ',',
                    false,
                    {"ceramic"},
                    {"line 2, tool: 'ceramic' is no tool material: give hss or carbide"}}),
    [](const testing::TestParamInfo<Spreadsheet> &info) { return info.param.name; });

// The input's columns stay where they were, with their titles, so results paste beside them.
TEST(CsvBatch, ColumnsInputKeepsTheInputsOrder)
{
    ToolRun r = runWithInput({"face", "--csv", "--keep", "Job", "--columns", "input"},
                             "Feed,Job,txtidiam,\n0.5,A,50,\n0.25,B,60,\n");
    ASSERT_EQ(r.status, 0) << r.err;
    Table output = readBack(r.out);
    ASSERT_EQ(output.size(), 3u);
    ASSERT_EQ(output[0].size(), 4u + 24u);
    EXPECT_EQ(std::vector<std::string>(output[0].begin(), output[0].begin() + 6),
              (std::vector<std::string>{"Feed", "Job", "txtidiam", "", "txtfdiam", "txtlen"}));
    EXPECT_EQ(std::vector<std::string>(output[2].begin(), output[2].begin() + 4),
              (std::vector<std::string>{"0.25", "B", "60", ""}));
    EXPECT_EQ(std::count(output[0].begin(), output[0].end(), "txtfeed"), 0);
    EXPECT_EQ(std::count(output[0].begin(), output[0].end(), "txtidiam"), 1);
}

TEST(CsvBatch, CaptionsNameTheOutputFieldsAfterTheKeptColumns)
{
    ToolRun r = runWithInput({"turning", "--csv", "--captions", "--keep", "Job"}, "Job\nA\n");
    ASSERT_EQ(r.status, 0) << r.err;
    Table output = readBack(r.out);
    ASSERT_EQ(output.size(), 2u);
    ASSERT_EQ(output[0].size(), 27u);
    EXPECT_EQ(output[0][0], "Job");
    EXPECT_EQ(output[0][1], "Initial Diameter (mm)");
    EXPECT_EQ(output[0][8], "Spindle Speed (R.P.M)");
    EXPECT_EQ(output[1][0], "A");
}

// Warnings come in row order whatever the jobs, over batches of rows, and stop at 20, the rest
// only counted.
TEST(CsvBatch, TwentyWarningsThenACount)
{
    std::string input = "txtidiam,txtfeed\n";
    for (int i = 0; i < 700; ++i)
        input += i % 25 == 0 ? "x,0.1\n" : "5,0.1\n";
    for (const char *jobs : {"1", "2"}) {
        ToolRun r = runWithInput({"face", "--csv", "--jobs", jobs}, input);
        EXPECT_EQ(r.status, 0);
        std::istringstream err(r.err);
        std::vector<std::string> lines;
        for (std::string line; std::getline(err, line);)
            lines.push_back(line);
        ASSERT_EQ(lines.size(), 21u) << r.err;
        for (std::size_t i = 0; i < 20; ++i) {
            std::string where = "line " + std::to_string(25 * i + 2) + ", txtidiam: 'x'";
            EXPECT_NE(lines[i].find(where), std::string::npos) << lines[i];
        }
        EXPECT_EQ(lines[20], "zorvik-solve: warning: 8 more warnings");
    }
}

TEST(CsvBatch, SharedTextsComeBeforeEachRowsCellsAfterTheDefaults)
{
    // txtnoc's default is 1, shared as 3, and a row's blank cell blanks it again.
    ToolRun r = runWithInput({"face", "--csv", "txtnoc=3", "txtlen=9"}, "txtnoc\n\n4\n\"\"\n");
    ASSERT_EQ(r.status, 0) << r.err;
    Table output = readBack(r.out);
    ASSERT_EQ(output.size(), 4u);
    std::size_t noc = std::find(output[0].begin(), output[0].end(), "txtnoc") - output[0].begin();
    std::size_t len = std::find(output[0].begin(), output[0].end(), "txtlen") - output[0].begin();
    EXPECT_EQ(output[1][noc], "");
    EXPECT_EQ(output[2][noc], "4");
    EXPECT_EQ(output[3][noc], "");
    EXPECT_EQ(output[1][len], "9");
    EXPECT_EQ(output[1][len - 1], "");
}

TEST(CsvBatch, ReadsTheInputInAnyPieces)
{
    // A piece that holds whole cells gives views of them, one that cuts them has them put
    // together: each cell takes both ways at some piece size.
    std::string input = "\xEF\xBB\xBFtxtidiam,txtlen\r\n\"1,\"\"5\",2\r\n3,\"4\r\n\"\r\n5,6\n\n"
                        "7,\xC3\x98\r,8\r\n9,\"x\ny\"\n10,11";
    std::vector<Table> tables;
    for (std::size_t piece : {std::size_t(1), std::size_t(2), std::size_t(5), input.size()}) {
        Table table;
        CsvReader reader(8, [&](const CsvRecord &record) {
            table.emplace_back(1, std::to_string(record.line));
            table.back().insert(table.back().end(), record.cells.begin(),
                                record.cells.begin() + record.cellCount);
            return true;
        });
        for (std::size_t at = 0; at < input.size(); at += piece)
            ASSERT_TRUE(reader.feed(std::string_view(input).substr(at, piece)));
        ASSERT_TRUE(reader.finish());
        tables.push_back(table);
    }
    EXPECT_EQ(tables[0], (Table{{"1", "txtidiam", "txtlen"},
                                {"2", "1,\"5", "2"},
                                {"3", "3", "4\r\n"},
                                {"5", "5", "6"},
                                {"6", ""},
                                {"7", "7", "\xC3\x98"},
                                {"8", "", "8"},
                                {"9", "9", "x\ny"},
                                {"11", "10", "11"}}));
    for (const Table &table : tables)
        EXPECT_EQ(table, tables[0]);
}

} // namespace
