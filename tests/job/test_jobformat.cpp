// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/jobformat.h"
#include "wording/wording.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace zorvik::job {
namespace {

// A small sound job: one drilling window, hand-written as a user might.
const std::string drilling = R"({
  "format": "zorvik-job",
  "version": 1,
  "windows": [
    {
      "operation": "drilling",
      "pages": [ { "fields": { "txtidiam": { "text": "1.200.0" } } } ]
    }
  ]
})";

// What the user is told of a job that was not read; "" for one that was.
std::string told(const JobRead &read)
{
    return read.error ? wording(*read.error) : std::string();
}

std::string replaced(std::string text, const std::string &from, const std::string &to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

TEST(JobFormat, ReadsAHandWrittenJobTextsAsTextsAndFillsTheRestWithDefaults)
{
    const JobRead read = readJob(drilling, "hole.zorvik");
    ASSERT_EQ(told(read), "");
    ASSERT_EQ(read.job.windows.size(), 1u);
    const PageRecord &page = read.job.windows[0].pages.at(0);
    EXPECT_EQ(page.field("txtidiam")->text, "1.200.0");
    EXPECT_EQ(page.field("txtidiam")->origin, Origin::typed);
    EXPECT_EQ(page.field("txtfdiam")->origin, Origin::blank);
}

TEST(JobFormat, WritesWhatItReadsBackTheSame)
{
    Job job = readJob(drilling, "hole.zorvik").job;
    WindowRecord &window = job.windows[0];
    window.machine = Machine{"Drill \"A\"", 100, 3000, {}, 2200, {}, {}};
    PageRecord &page = window.pages[0];
    page.explained = true;
    page.edits = {"txtidiam"};
    page.materialGroup = 5;
    page.materialDesignation = "C55+QT";
    page.startGroup = 5;
    page.tool = "carbide";
    FieldRecord &rpm = page.fields[static_cast<std::size_t>(
        std::find_if(page.fields.begin(), page.fields.end(),
                     [](const FieldRecord &f) { return f.name == "txtrpm"; }) -
        page.fields.begin())];
    rpm = {"txtrpm",
           "0.0001234567890123",
           Origin::outOfDate,
           false,
           "0.0001234567890123",
           "8b",
           "Computed by 8b\nfrom:",
           "",
           "",
           {{"txtcspeed", "180"}, {"txtfdiam", "x"}},
           "txtcspeed",
           "17",
           true,
           {"disagrees with ü", "and with Feed 0.2"},
           true};
    const std::string written = writeJob(job);
    const JobRead again = readJob(written, "again.zorvik");
    ASSERT_EQ(told(again), "");
    EXPECT_EQ(writeJob(again.job), written);
    EXPECT_EQ(again.job.windows[0].machine->maxRpm, 3000);
    EXPECT_EQ(again.job.windows[0].pages[0].field("txtrpm")->sources.at(1).text, "x");
    EXPECT_EQ(again.job.windows[0].pages[0].materialDesignation, "C55+QT");
}

struct BadJob {
    const char *name;
    std::string bytes;
    std::vector<std::string> mentions; // what the refusal must name, after the file
};

void PrintTo(const BadJob &c, std::ostream *os)
{
    *os << c.name;
}

class JobRefusal : public testing::TestWithParam<BadJob> {};

TEST_P(JobRefusal, NamesTheFileAndWhatIsWrongAndGivesNoWindows)
{
    const JobRead read = readJob(GetParam().bytes, "/home/u/bracket.zorvik");
    EXPECT_TRUE(read.job.windows.empty());
    const std::string error = told(read);
    EXPECT_EQ(error.rfind("'/home/u/bracket.zorvik': ", 0), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    for (const std::string &word : GetParam().mentions)
        EXPECT_NE(error.find(word), std::string::npos) << word << " not in: " << error;
}

INSTANTIATE_TEST_SUITE_P(
    Table, JobRefusal,
    testing::Values(
        BadJob{"Empty", "", {"not a job", "not JSON"}},
        BadJob{"PlainText", "txtidiam=60\n", {"not a job", "not JSON"}},
        BadJob{"NumberBeyondEveryType", "9e0409", {"not a job", "number overflow"}},
        BadJob{"OtherJson", R"({"name": "bracket"})", {"not a job", "format"}},
        BadJob{"JsonList", "[1, 2]", {"not a job"}},
        BadJob{"Truncated", drilling.substr(0, drilling.size() / 2), {"truncated"}},
        BadJob{"CutBeforeTheLastBrace", drilling.substr(0, drilling.size() - 2), {"truncated"}},
        BadJob{"NewerVersion",
               replaced(drilling, "\"version\": 1", "\"version\": 2"),
               {"format version 2", "newer", "up to 1"}},
        BadJob{"VersionAsText",
               replaced(drilling, "\"version\": 1", "\"version\": \"1\""),
               {"\"version\"", "a text", "not a whole number"}},
        BadJob{"NoVersion", replaced(drilling, "\"version\": 1,", ""), {"not a job", "version"}},
        BadJob{"UnknownOperation",
               replaced(drilling, "\"drilling\"", "\"knurling\""),
               {"window 1", "'knurling'", "no operation"}},
        BadJob{"UnknownField",
               replaced(drilling, "\"txtidiam\"", "\"txtdiameter\""),
               {"window 1 (drilling), page 0", "unknown field", "'txtdiameter'"}},
        BadJob{"UnknownSource",
               replaced(drilling, "\"1.200.0\"", R"("1", "read": {"txtnone": "2"})"),
               {"txtidiam", "unknown field", "'txtnone'"}},
        BadJob{"NumberForAText",
               replaced(drilling, "\"1.200.0\"", "1.2"),
               {"txtidiam", "\"text\"", "a number, not a text"}},
        BadJob{"UnknownOrigin",
               replaced(drilling, "\"1.200.0\"", R"("1", "from": "guessed")"),
               {"\"from\"", "'guessed'", "out of date"}},
        BadJob{"MisspeltMember",
               replaced(drilling, "\"1.200.0\"", R"("1", "explantion": "x")"),
               {"unknown member", "'explantion'"}},
        BadJob{"TooManyPages",
               replaced(drilling, "} } } ]", "} } }, {\"fields\": {}} ]"),
               {"\"pages\"", "list of 1 page"}},
        BadJob{"PageShownOutOfRange",
               replaced(drilling, "\"pages\"", "\"page shown\": 1, \"pages\""),
               {"\"page shown\" is 1", "only page 0"}},
        BadJob{"NoSuchMaterialGroup",
               replaced(drilling, "\"fields\"", "\"material\": 99, \"fields\""),
               {"\"material\" is 99", "no work-material group"}},
        BadJob{"DesignationOfAnotherGroup",
               replaced(drilling, "\"fields\"",
                        "\"material\": 3, \"material designation\": \"C45\", \"fields\""),
               {"\"material designation\" is 'C45'", "no designation of work-material group 3"}},
        BadJob{"DesignationWithoutAGroup",
               replaced(drilling, "\"fields\"", "\"material designation\": \"C45\", \"fields\""),
               {"\"material designation\"", "without \"material\""}},
        BadJob{"UnknownTool",
               replaced(drilling, "\"fields\"", "\"tool\": \"diamond\", \"fields\""),
               {"'diamond'", "hss or carbide"}},
        BadJob{"BadMachineLimit",
               replaced(drilling, "\"pages\"",
                        R"("machine": {"name": "Drill", "max-rpm": "fast"}, "pages")"),
               {"\"machine\"", "max-rpm"}},
        BadJob{"TwoWindowsOfOneOperation",
               replaced(drilling, "\"windows\": [",
                        R"("windows": [{"operation": "drilling", "pages": [{"fields": {}}]},)"),
               {"window 2", "second drilling window"}},
        // More than the parser takes is not cut short: it follows the end of the job.
        BadJob{"TwoJobs",
               drilling + drilling,
               {"data after the end of the job at byte " + std::to_string(drilling.size() + 1)}},
        BadJob{"TextAfterTheJob",
               drilling + "\n\n}",
               {"data after the end of the job at byte " + std::to_string(drilling.size() + 3)}},
        BadJob{"LargerThanAJob",
               drilling + std::string(maxJobBytes, ' '),
               {"larger than a job can be", "10 MiB"}},
        BadJob{"OneByteOverTheLimit",
               drilling + std::string(maxJobBytes + 1 - drilling.size(), ' '),
               {"larger than a job can be: more than 10 MiB (10 485 760 bytes)"}}));

TEST(JobFile, RefusesAFileLargerThanAJobUnreadADirectoryAndOneThatIsNotThere)
{
    const std::string path = testing::TempDir() + "large.zorvik";
    {
        std::ofstream out(path, std::ios::binary);
        out.seekp(static_cast<std::streamoff>(maxJobBytes));
        out.put('}');
    }
    EXPECT_EQ(told(readJobFile(path)),
              "'" + path + "': larger than a job can be: more than 10 MiB (10 485 760 bytes)");
    std::remove(path.c_str());
    EXPECT_NE(told(readJobFile(path)).find("cannot be opened"), std::string::npos);
    EXPECT_EQ(told(readJobFile("/")), "'/': is a directory");
    EXPECT_EQ(told(readJobFile("/nonexistent/\x1b[2J")).rfind("'/nonexistent/\\x1b[2J': ", 0), 0u);
}

} // namespace
} // namespace zorvik::job
