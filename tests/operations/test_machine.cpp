// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/machine.h"
#include "solvecase.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace zorvik;
using namespace zorvik::test;

namespace {

struct FileCase {
    const char *name;
    std::string text;
    std::string error; // "" when it reads
};

void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.name;
}

class MachineFile : public testing::TestWithParam<FileCase> {};

TEST_P(MachineFile, ReadsOrNamesTheLine)
{
    const MachineRead read = readMachine(GetParam().text);
    EXPECT_EQ(read.error, GetParam().error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MachineFile,
    testing::Values(
        FileCase{"Whole", "# lathe\nname = Lathe 1\nmin-rpm = 0\nmax-rpm = 2000 # belt\n\n"
                          "max-feed-rate=800\npower = 7500\nmax-torque = 95\n"
                          "full-power-rpm = 750\n", ""},
        FileCase{"UnknownKey", "name = L\nspeed = 3\n",
                 "line 2: unknown key 'speed'; the keys are name, min-rpm, max-rpm, "
                 "max-feed-rate, power, max-torque, full-power-rpm"},
        FileCase{"DecimalComma", "name = L\npower = 7,5\n",
                 "line 2: power wants a number above 0 in W, with a point as the decimal point; "
                 "'7,5' is not"},
        FileCase{"ZeroPower", "name = L\n\npower = 0\n",
                 "line 3: power wants a number above 0 in W, with a point as the decimal point; "
                 "'0' is not"},
        FileCase{"NoEquals", "name L\n", "line 1: 'name L' is not key = value"},
        FileCase{"Twice", "name = L\nname = M\n", "line 2: name is given twice"},
        FileCase{"NoName", "power = 5\n", "a machine needs a name"},
        FileCase{"RangeUpsideDown", "name = L\nmax-rpm = 40\n# belt\nmin-rpm = 50\n",
                 "lines 2 and 4: the lowest spindle speed, 50 rev/min, is above the highest, "
                 "40 rev/min"},
        FileCase{"ByteOrderMark", "\xEF\xBB\xBFname = L\n", ""},
        // What the file holds reaches a message quoted and cut: valid UTF-8, no control bytes.
        FileCase{"RawBytesInKey", std::string("n\0\x1b\xff = 1\n", 10),
                 "line 1: unknown key 'n\\x00\\x1b\\xff'; the keys are name, min-rpm, max-rpm, "
                 "max-feed-rate, power, max-torque, full-power-rpm"},
        FileCase{"LongLineCut", std::string(60000, 'x'),
                 "line 1: '" + std::string(60, 'x') + "…' is not key = value"},
        FileCase{"EscapeInValue", "name = L\npower = \x1b[2J\n",
                 "line 2: power wants a number above 0 in W, with a point as the decimal point; "
                 "'\\x1b[2J' is not"},
        // The name stands in every warning as it is.
        FileCase{"EscapeInName", "name = \x1b[31mLathe\n",
                 "line 1: a machine name is text of at most 80 characters, without control "
                 "characters; '\\x1b[31mLathe' is not"},
        FileCase{"LongName", "name = " + std::string(81, 'L') + "\n",
                 "line 1: a machine name is text of at most 80 characters, without control "
                 "characters; '" + std::string(60, 'L') + "…' is not"}),
    [](const testing::TestParamInfo<FileCase> &info) { return info.param.name; });
// clang-format on

// A machine file is refused by its size as a job is, at one byte over the limit, and a directory
// as what it is.
TEST(MachineFile, RefusesADirectoryAndAFileOverTheLimitNamingEither)
{
    const std::string path = testing::TempDir() + "zorvik-limit.machine";
    const std::string whole = "name = L\n# " + std::string(maxMachineBytes - 12, '-') + "\n";
    const std::string over = "machine file '" + path +
                             "': larger than a machine file can be: more than 64 KiB "
                             "(65 536 bytes)";
    for (const auto &[bytes, error] : {std::pair{whole, std::string()}, {whole + "\n", over}}) {
        std::ofstream(path, std::ios::binary) << bytes;
        EXPECT_EQ(readMachineFile(path).error, error);
    }
    EXPECT_EQ(readMachineFile("/").error, "machine file '/': is a directory");
}

struct CheckCase {
    const char *name;
    const char *operation;
    const char *machine; // a machine file
    Texts page;
    std::vector<std::string> found; // field: text, in order
};

void PrintTo(const CheckCase &c, std::ostream *os)
{
    *os << c.name;
}

class MachineCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(MachineCheck, FindsEveryResultBeyondTheMachine)
{
    const CheckCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const MachineRead read = readMachine(c.machine);
    ASSERT_EQ(read.error, "");
    std::vector<std::string> found;
    for (const Exceedance &beyond :
         checkMachine(read.machine, operation, storeWith(operation, c.page), operation.captions()))
        found.push_back(std::string(operation.relations.fields[std::size_t(beyond.field)]) + ": " +
                        beyond.text);
    EXPECT_EQ(found, c.found);
}

const char *lathe = "name = Lathe 1\nmin-rpm = 50\nmax-rpm = 2000\nmax-feed-rate = 500\n"
                    "power = 7500\nfull-power-rpm = 900\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MachineCheck,
    testing::Values(
        CheckCase{"WithinEveryLimit", "longitudinal", lathe,
                  {{"txtrpm", "955"}, {"txtfrate", "300"}, {"txtmp", "7000"}}, {}},
        CheckCase{"NoLimitsNoCheck", "longitudinal", "name = Bare\n",
                  {{"txtrpm", "99999"}, {"txtfrate", "99999"}, {"txtmp", "99999"}}, {}},
        CheckCase{"MotorPower", "longitudinal", lathe,
                  {{"txtrpm", "955"}, {"txtmp", "10623"}, {"txtdoc", "4"}, {"txtfeed", "0.25"}},
                  {"txtmp: needs 10 623 W; Lathe 1 gives 7 500 W at 955 rev/min (at most "
                   "depth of cut 2.8 mm/cut at this feed, or feed 0.17 mm/rev at this depth of "
                   "cut)"}},
        // Below full-power speed the power available falls with the speed: 450 of 900 rev/min.
        CheckCase{"TorqueLimitedRange", "longitudinal", lathe,
                  {{"txtrpm", "450"}, {"txtmp", "5000"}, {"txtfeed", "0.3"}},
                  {"txtmp: needs 5 000 W; Lathe 1 gives 3 750 W at 450 rev/min (at most "
                   "feed 0.22 mm/rev)"}},
        CheckCase{"CuttingPowerWithoutMotorPower", "drilling", lathe,
                  {{"txtrpm", "1000"}, {"txtcp", "8000"}, {"txtfeed", "0.2"}},
                  {"txtcp: needs 8 000 W; Lathe 1 gives 7 500 W at 1 000 rev/min (at "
                   "most feed 0.18 mm/rev)"}},
        CheckCase{"SpindleSpeedRange", "longitudinal", lathe,
                  {{"txtrpm", "3000"}, {"txtcspeed", "150"}, {"txtfrate", "600"},
                   {"txtfeed", "0.2"}},
                  {"txtrpm: needs 3 000 rev/min; Lathe 1 gives at most 2 000 rev/min (at most "
                   "cutting speed 100 m/min)",
                   "txtfrate: needs 600 mm/min; Lathe 1 gives at most 500 mm/min (at most feed "
                   "0.16 mm/rev)"}},
        CheckCase{"BelowLowestSpeed", "taper", lathe, {{"txtrpm", "20"}, {"txtcspeed", "3"}},
                  {"txtrpm: needs 20 rev/min; Lathe 1 gives at least 50 rev/min (at least "
                   "cutting speed 7.5 m/min)"}},
        CheckCase{"Torque", "milling", "name = Mill\nmax-torque = 30\n",
                  {{"txtrpm", "200"}, {"txttorq", "31.8181818181818"}, {"txtfpt", "0.1"},
                   {"txtdoc", "5"}},
                  {"txttorq: needs 31.8 N·m; Mill gives 30 N·m at 200 rev/min (at most depth "
                   "of cut 4.7 mm/cut at this feed per tooth, or feed per tooth 0.094 at this depth "
                   "of cut)"}}),
    [](const testing::TestParamInfo<CheckCase> &info) { return info.param.name; });
// clang-format on

} // namespace
