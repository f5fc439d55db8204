// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/chipthickness.h"
#include "operations/machine.h"
#include "solvecase.h"
#include "tests/support/randompage.h"
#include "wording/wording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <random>

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

// What the user is told of a machine file that was not read; "" for one that was.
std::string told(const MachineRead &read)
{
    return read.error ? wording(*read.error) : std::string();
}

TEST_P(MachineFile, ReadsOrNamesTheLine)
{
    EXPECT_EQ(told(readMachine(GetParam().text)), GetParam().error);
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
        EXPECT_EQ(told(readMachineFile(path)), error);
    }
    EXPECT_EQ(told(readMachineFile("/")), "machine file '/': is a directory");
}

struct CheckCase {
    const char *name;
    const char *operation;
    const char *machine;            // a machine file
    Texts typed;                    // the page's inputs, solved as Recalculate solves them
    std::vector<std::string> found; // field: text, in order
    const char *material = nullptr; // the group the specific cutting force comes from
};

void PrintTo(const CheckCase &c, std::ostream *os)
{
    *os << c.name;
}

// How Recalculate solves a page: with the specific cutting force taken from a group, if any.
PageSolve solver(const OperationDefinition &operation, const materials::MaterialGroup *group)
{
    return [&operation, group,
            list = std::make_shared<PreparedList>(operation.relations)](FieldStore &page) {
        if (group)
            solveWithGroupForce(*list, operation, *group, page);
        else
            solve(*list, page);
    };
}

std::string verdictLine(const OperationDefinition &operation, const Exceedance &beyond)
{
    return std::string(operation.relations.fields[std::size_t(beyond.field)]) + ": " +
           wording(beyond, operation, operation.captions());
}

class MachineCheck : public testing::TestWithParam<CheckCase> {};

TEST_P(MachineCheck, GivesOneVerdictPerLimitWithWhatWouldBringItWithin)
{
    const CheckCase &c = GetParam();
    const OperationDefinition &operation = operationNamed(c.operation);
    const MachineRead read = readMachine(c.machine);
    ASSERT_EQ(told(read), "");
    const FieldStore typed = typedPage(operation, c.typed);
    const PageInputs inputs{
        typed, solver(operation, c.material ? materials::groupNamed(c.material).group : nullptr)};
    FieldStore page = typed;
    inputs.solve(page);
    std::vector<std::string> found;
    for (const Exceedance &beyond : checkMachine(read.machine, operation, page, &inputs))
        found.push_back(verdictLine(operation, beyond));
    EXPECT_EQ(found, c.found);
}

const char *lathe = "name = Lathe 1\nmin-rpm = 50\nmax-rpm = 2000\nmax-feed-rate = 500\n"
                    "power = 7500\nfull-power-rpm = 900\n";

// The turning worked example as typed.
const Texts &turning = workedExample("longitudinal").typed;

// The texts with some changed, or added.
Texts with(Texts texts, const Texts &changes)
{
    for (const auto &change : changes) {
        const auto at = std::find_if(texts.begin(), texts.end(),
                                     [&](const auto &text) { return text.first == change.first; });
        if (at == texts.end())
            texts.push_back(change);
        else
            at->second = change.second;
    }
    return texts;
}

// A slot in aluminium with a 12 mm cutter at 300 m/min: 7 955 rev/min.
const Texts slot{{"txtdiam", "12"}, {"txtdoc", "12"},   {"txtcw", "6"},     {"txtnot", "3"},
                 {"txtcs", "300"},  {"txtfpt", "0.05"}, {"txteeff", "0.9"}, {"txtmeff", "0.8"}};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Table, MachineCheck,
    testing::Values(
        CheckCase{"WithinEveryLimit", "longitudinal", lathe, turning, {}},
        CheckCase{"NoLimitsNoCheck", "longitudinal", "name = Bare\n",
                  with(turning, {{"txtcspeed", "9000"}}), {}},
        // kc from the material rises as the chip thins: a feed in proportion to the power
        // (0.18) still needs 5 696 W.
        CheckCase{"FeedWithForceFromMaterial", "longitudinal", "name = Lathe 2\npower = 5500\n",
                  {{"txtidiam", "50"}, {"txtfdiam", "45"}, {"txtlen", "100"}, {"txtangle", "90"},
                   {"txtcspeed", "250"}, {"txtfeed", "0.25"}, {"txteeff", "0.9"},
                   {"txtmeff", "0.8"}},
                  {"txtmp: needs 7360 W (7.36 kW); Lathe 2 gives 5500 W (5.5 kW) at 1591 "
                   "rev/min (at most feed 0.17 mm/rev, or at most cutting speed 180 m/min, or at least no. of cuts 2)"},
                  "C45"},
        // Below full-power speed the power available falls with the speed: 450 of 900 rev/min.
        // A lower speed gains nothing there; a spindle speed typed is the lever, not the
        // cutting speed worked out from it.
        CheckCase{"TorqueLimitedRange", "longitudinal", lathe,
                  with(turning, {{"txtcspeed", ""}, {"txtrpm", "450"}, {"txtfeed", "0.5"}}),
                  {"txtmp: needs 8185 W (8.185 kW); Lathe 1 gives 3750 W (3.75 kW) at 450 "
                   "rev/min (at most feed 0.22 mm/rev, or at least no. of cuts 3)"}},
        CheckCase{"CuttingPowerWithoutMotorPower", "drilling", lathe,
                  {{"txtfdiam2", "20"}, {"txtcspeed", "100"}, {"txtfeed", "0.5"},
                   {"txtspcf", "2200"}},
                  {"txtfrate: needs 795.5 mm/min; Lathe 1 gives at most 500 mm/min (at most feed "
                   "0.31 mm/rev, or at most cutting speed 62 m/min)",
                   "txtcp: needs 9167 W (9.167 kW); Lathe 1 gives 7500 W (7.5 kW) at 1591 "
                   "rev/min (at most feed 0.4 mm/rev, or at most cutting speed 81 m/min)"}},
        // Beyond the speed range, power says nothing; the feed rate is a limit of its own.
        CheckCase{"SpindleSpeedRange", "longitudinal", lathe,
                  with(turning, {{"txtcspeed", "400"}, {"txtfeed", "0.3"}}),
                  {"txtrpm: needs 2545 rev/min; Lathe 1 gives at most 2000 rev/min (at most "
                   "cutting speed 310 m/min)",
                   "txtfrate: needs 763.6 mm/min; Lathe 1 gives at most 500 mm/min (at most feed "
                   "0.19 mm/rev, or at most cutting speed 260 m/min)"}},
        CheckCase{"BelowLowestSpeed", "taper", lathe,
                  {{"txtdl", "50"}, {"txtds", "40"}, {"txttl", "100"}, {"txtcspeed", "3"},
                   {"txtfeed", "0.2"}},
                  {"txtrpm: needs 21.21 rev/min; Lathe 1 gives at least 50 rev/min (at least "
                   "cutting speed 7.1 m/min)"}},
        // Teeth engaged change with the cut: the feed per tooth is found by solving, not in
        // proportion (0.037 needs 3 229 W). In a slot the radial depth is the cutter's; the axial
        // depth is the cutter width.
        CheckCase{"SlotPower", "milling", "name = Mill 1\npower = 3000\n", slot,
                  {"txtmp: needs 4048 W (4.048 kW); Mill 1 gives 3000 W (3 kW) at 7955 rev/min "
                   "(at most feed per tooth 0.033 mm, or at most cutting speed 220 m/min, or at most cutter width "
                   "4.4 mm)"}, "6061"},
        CheckCase{"SlotBeyondTheSpeedRange", "milling",
                  "name = Mill 1\npower = 3000\nmax-rpm = 6000\n", slot,
                  {"txtrpm: needs 7955 rev/min; Mill 1 gives at most 6000 rev/min (at most "
                   "cutting speed 220 m/min)"}, "6061"},
        CheckCase{"RadialDepthOutsideASlot", "milling", "name = Mill 1\npower = 3000\n",
                  with(slot, {{"txtdoc", "6"}, {"txtfpt", "0.1"}}),
                  {"txtmp: needs 3404 W (3.404 kW); Mill 1 gives 3000 W (3 kW) at 7955 rev/min "
                   "(at most feed per tooth 0.084 mm, or at most cutting speed 260 m/min, or at most cutter width "
                   "5.2 mm, or at most depth of cut 5 mm)"}, "6061"},
        // Power and torque are one limit: one verdict, on the power, further beyond than the
        // torque (63.6 of 30 N·m).
        CheckCase{"PowerAndTorque", "milling", "name = Mill\npower = 2000\nmax-torque = 30\n",
                  with(workedExample("milling").typed, {{"txtfpt", "0.2"}}),
                  {"txtmp: needs 1852 W (1.852 kW); Mill gives 628.6 W at 200 rev/min (at most feed per tooth "
                   "0.067 mm, or at most cutter width 6.7 mm)"}},
        CheckCase{"Torque", "milling", "name = Mill\nmax-torque = 30\n",
                  with(workedExample("milling").typed, {{"txtfpt", "0.2"}}),
                  {"txttorq: needs 63.64 N·m; Mill gives 30 N·m at 200 rev/min (at most feed per "
                   "tooth 0.094 mm, or at most cutter width 9.4 mm)"}}),
    [](const testing::TestParamInfo<CheckCase> &info) { return info.param.name; });
// clang-format on

bool sameLimit(MachineLimit a, MachineLimit b)
{
    auto kind = [](MachineLimit limit) {
        return limit == MachineLimit::minRpm   ? MachineLimit::maxRpm
               : limit == MachineLimit::torque ? MachineLimit::power
                                               : limit;
    };
    return kind(a) == kind(b);
}

// Some of the limits, each around what the page needs of it, so that a page is often beyond.
Machine randomMachine(const OperationDefinition &operation, const FieldStore &page,
                      std::mt19937 &random)
{
    auto number = [&](std::string_view name) -> std::optional<double> {
        const std::optional<double> value =
            name.empty() ? std::nullopt : strictToNumber(page.text(fieldNamed(operation, name)));
        return value && *value > 0 ? value : std::nullopt;
    };
    auto around = [&](std::optional<double> value) -> std::optional<double> {
        if (!value || random() % 3 == 0)
            return std::nullopt;
        return *value * std::uniform_real_distribution<double>(0.3, 1.5)(random);
    };
    const MachineFields &fields = operation.machine;
    const std::optional<double> rpm = number(fields.rpm);
    const std::optional<double> power =
        number(fields.motorPower) ? number(fields.motorPower) : number(fields.cuttingPower);
    Machine machine{"Random",      around(rpm),  around(rpm), around(number(fields.feedRate)),
                    around(power), std::nullopt, around(rpm)};
    if (machine.minRpm && machine.maxRpm && *machine.minRpm > *machine.maxRpm)
        std::swap(machine.minRpm, machine.maxRpm);
    // Torque is of the order of a power over a spindle speed.
    if (power && rpm)
        machine.maxTorque = around(*power / *rpm * 10);
    return machine;
}

// The acceptance of every suggestion: typed as the verdict shows it into the page's inputs, and
// solved, it leaves the page within that limit, and within a speed range it was within.
TEST(RandomPagesOnRandomMachines, EverySuggestionFollowedBringsItsLimitWithin)
{
    std::mt19937 random(61);
    std::vector<const materials::MaterialGroup *> groups;
    for (const materials::MaterialGroup &group : materials::materialGroups()) {
        if (group.choosable())
            groups.push_back(&group);
    }
    for (const OperationDefinition &operation : operationDefinitions()) {
        const Captions captions = operation.captions();
        const std::optional<MaterialFields> material = materialFields(operation);
        int followed = 0;
        for (int round = 0; round < 200; ++round) {
            FieldStore typed = randomIndependentPage(operation, random);
            operation.prepareTyped(typed);
            const materials::MaterialGroup *group = nullptr;
            if (material && typed.isBlank(material->kc) && random() % 2)
                group = groups[random() % groups.size()];
            const PageInputs inputs{typed, solver(operation, group)};
            FieldStore page = typed;
            inputs.solve(page);
            if (!cuttable(operation, page))
                continue;
            const Machine machine = randomMachine(operation, page, random);
            const std::vector<Exceedance> verdicts =
                checkMachine(machine, operation, page, &inputs);
            const bool speedWithin = std::none_of(verdicts.begin(), verdicts.end(), [](auto &v) {
                return sameLimit(v.limit, MachineLimit::maxRpm);
            });
            for (const Exceedance &beyond : verdicts) {
                const std::string said = wording(beyond, operation, captions);
                for (const Suggestion &suggestion : beyond.suggestions) {
                    std::string text = readingNumber(suggestion.value);
                    ASSERT_NE(said.find(" " + text), std::string::npos) << said;
                    std::erase(text, ' ');
                    // Only an input is a lever, never a result.
                    const std::optional<double> was = strictToNumber(typed.text(suggestion.field));
                    ASSERT_TRUE(was) << said;
                    EXPECT_EQ(suggestion.atLeast, suggestion.value > *was) << said;
                    FieldStore moved = typed;
                    moved.setText(suggestion.field, text);
                    inputs.solve(moved);
                    for (const Exceedance &after : checkMachine(machine, operation, moved))
                        EXPECT_FALSE(sameLimit(after.limit, beyond.limit) ||
                                     (speedWithin && sameLimit(after.limit, MachineLimit::maxRpm)))
                            << operation.name << " round " << round << ": " << said << "\nwith "
                            << operation.relations.fields[std::size_t(suggestion.field)] << " "
                            << text << ": " << wording(after, operation, captions);
                    ++followed;
                }
            }
        }
        EXPECT_GE(followed, 10) << operation.name;
    }
}

} // namespace
