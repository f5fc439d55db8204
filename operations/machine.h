// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/operation.h"
#include "solver/filebytes.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// A machine tool as its plate gives it; every limit is optional.
struct Machine {
    std::string name;
    std::optional<double> minRpm;       // rev/min
    std::optional<double> maxRpm;       // rev/min
    std::optional<double> maxFeedRate;  // mm/min
    std::optional<double> power;        // rated motor power, W
    std::optional<double> maxTorque;    // spindle torque, N·m
    std::optional<double> fullPowerRpm; // below it the power falls in proportion to the speed

    // The motor power the machine gives at a spindle speed: the rated power, in proportion to
    // the speed below full-power speed, and no more than the torque allows. None without limits.
    std::optional<double> powerAt(double rpm) const;
    // The spindle torque it gives at a speed: the maximum torque, and no more than the power
    // available there turns into. None without limits.
    std::optional<double> torqueAt(double rpm) const;
};

// The keys of a machine, in the order a file or the settings list them, with what each holds.
struct MachineKey {
    std::string_view key; // "max-rpm"
    std::string_view caption;
    std::string_view unit;
    std::optional<double> Machine::*value; // null for the name
};
const std::vector<MachineKey> &machineKeys();

// The longest machine name: it stands in every warning of a result beyond the machine.
constexpr std::size_t machineNameMost = 80;

// Sets one key of a machine from its text; returns why it cannot: an unknown key, a value that
// is not a number above 0 (at least 0 for min-rpm), or a name that is empty, longer than
// machineNameMost characters, or holds a control character or bytes that are not UTF-8.
std::optional<std::string> setMachineKey(Machine &machine, std::string_view key,
                                         std::string_view value);
// What is wrong with a machine as a whole (no name, a speed range upside down), or none.
std::optional<std::string> machineProblem(const Machine &machine);

// Reads a machine file: "key = value" lines, "#" to the end of a line a comment, blank lines
// ignored, a UTF-8 byte-order mark at the start skipped. error names the line of the first
// fault, or both lines of a speed range upside down.
struct MachineRead {
    Machine machine;
    std::string error;
    bool errorNamesLines = false; // the error starts with the lines it is on ("line 2: …")
};
MachineRead readMachine(std::string_view text);

// A machine file holds seven keys and their comments: far less than this.
constexpr std::size_t maxMachineBytes = 64 * 1024;
// Reads the machine file at path, of at most maxMachineBytes; error names the file first
// ("machine file '/x/lathe', line 2: …"). wait comes before each read.
MachineRead readMachineFile(const std::string &path, ReadWait wait = waitReadable);

// One result of a page beyond its machine. The spindle speed range is one limit (minRpm or
// maxRpm names the end it is beyond), and so are power and torque, which are two measures of
// what the spindle gives at a speed: a page beyond both has one verdict, on the one further
// beyond.
enum class MachineLimit { minRpm, maxRpm, feedRate, power, torque };

// One input moved, every other as the page holds it: a value that, solved again, brings the
// limit within (and keeps a spindle speed within the machine's range that was within it).
struct Suggestion {
    FieldId field;
    double value; // as the user would type it: two significant digits, or a whole count
    bool atLeast; // the input goes up to it (more cuts, a faster speed); else down
};

struct Exceedance {
    MachineLimit limit;
    FieldId field;    // the result beyond the limit
    double needed;    // what the page needs
    double available; // what the machine gives (at the page's spindle speed, for power and torque)
    FieldId speed;    // the spindle speed field that figure is taken at; -1 for none
    std::vector<Suggestion> suggestions; // each one found by solving the page again
    // "needs 7360 W (7.36 kW); Lathe 2 gives 5500 W (5.5 kW) at 1591 rev/min (at most feed
    // 0.17 mm/rev, or …)": the fields named by their captions, every figure a reading with the
    // unit of its field.
    std::string text;
};

// How a caller solves a page of inputs, in place, as it solves its own pages: with the specific
// cutting force of a material where it took it from one.
using PageSolve = std::function<void(FieldStore &page)>;

// What a page was solved from and how, for the suggestions: its inputs, every result blank.
struct PageInputs {
    const FieldStore &typed;
    PageSolve solve;
};

// The results of a page (a store of the operation's list) beyond the machine, one verdict per
// limit: the spindle speed range first (beyond it, power and torque are not judged: the machine
// cannot run there), then the others, the one further beyond first. With the page's inputs,
// each verdict says which inputs of the operation's levers, moved alone, would bring its limit
// within; without them, none.
std::vector<Exceedance> checkMachine(const Machine &machine, const OperationDefinition &operation,
                                     const FieldStore &page, const Captions &captions,
                                     const PageInputs *inputs = nullptr);

} // namespace zorvik
