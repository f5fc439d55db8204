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

// Why a key of a machine cannot be set from its text.
enum class MachineKeyFault {
    unknownKey,
    noName,
    badName,  // empty, longer than machineNameMost characters, a control character, not UTF-8
    badNumber // not a number above 0 (at least 0 where zeroAllowed)
};
struct MachineKeyError {
    MachineKeyFault fault;
    std::string key;   // as given
    std::string value; // as given
    std::string_view unit;
    bool zeroAllowed = false;
};

// Sets one key of a machine from its text; returns why it cannot.
std::optional<MachineKeyError> setMachineKey(Machine &machine, std::string_view key,
                                             std::string_view value);

// What is wrong with a machine as a whole.
enum class MachineFault { noName, speedRangeUpsideDown };
struct MachineProblem {
    MachineFault fault;
    double lowest = 0; // the speed range, where it is upside down, in rev/min
    double highest = 0;
};
std::optional<MachineProblem> machineProblem(const Machine &machine);

// A machine refused, from a file or a job: a key that cannot be set, or the machine as a whole.
struct MachineRefusal {
    std::optional<MachineKeyError> key;
    std::optional<MachineProblem> problem;
};

// Why a machine file was refused: the first fault met, on the line it was met on, or on both
// lines of a speed range upside down, where either may be the one to put right.
enum class MachineReadFault { file, notKeyValue, givenTwice, key, problem };
struct MachineReadError {
    MachineReadFault fault = MachineReadFault::file;
    std::optional<std::string> path; // the file's, when read from one
    std::size_t line = 0;            // 0 where the fault is the machine's as a whole
    std::size_t otherLine = 0;
    std::string text; // the line that is not key = value, or the key given twice
    std::optional<FileError> file;
    MachineRefusal machine;
};

// Reads a machine file: "key = value" lines, "#" to the end of a line a comment, blank lines
// ignored, a UTF-8 byte-order mark at the start skipped.
struct MachineRead {
    Machine machine;
    std::optional<MachineReadError> error;
};
MachineRead readMachine(std::string_view text);

// A machine file holds seven keys and their comments: far less than this.
constexpr std::size_t maxMachineBytes = 64 * 1024;
// Reads the machine file at path, of at most maxMachineBytes. wait comes before each read.
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
    std::string machine;                 // its name
    double speedValue = 0;               // the page's spindle speed, where speed names a field
    // Other results are out of date, so no suggestion could be worked out from the page.
    bool othersOutOfDate = false;
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
                                     const FieldStore &page, const PageInputs *inputs = nullptr);

} // namespace zorvik
