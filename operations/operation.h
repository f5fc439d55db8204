// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"
#include "operations/cuttingdata.h"
#include "solver/fieldhelp.h"
#include "solver/relationlist.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

// The page's specific cutting force field, and the field holding the chip thickness that force
// is taken at (the one its force rule multiplies per unit of chip width).
struct MaterialFieldNames {
    std::string_view kc;
    std::string_view chipThickness;
};

// Where an operation's starting cutting data goes: its rows of the cutting-data table, the
// cutting speed and feed fields it fills, and the fields holding the tool's diameter for a feed
// per millimetre of it (the first that holds a number; none in turning).
struct StartingFields {
    cuttingdata::Process process;
    std::string_view speed;
    std::string_view feed; // per revolution, or per tooth in milling
    std::array<std::string_view, 2> diameters = {};
    std::string_view feedUnit = "mm/rev";
    std::string_view tool = {}; // what the diameters are of, for a feed per millimetre of it
    // The largest tool the table's feeds per millimetre hold for: a larger one takes the feed
    // at this diameter. None for any.
    std::optional<double> largestTool = {};
};

// An input the user can move to bring a result within the machine. It is none while the first
// field of fixedWhile holds at least the second: a milling cut as deep as the cutter is wide is a
// slot, whose radial depth the slot fixes, whether typed or split into cuts.
struct MachineLever {
    std::string_view field;
    std::array<std::string_view, 2> fixedWhile = {};
};

// The fields a machine's limits are checked on: spindle speed, feed rate, motor power, cutting
// power and spindle torque ("" where the page has none), and the inputs that a result beyond the
// machine can be brought within by, those the page holds as typed, in the order they are offered.
struct MachineFields {
    std::string_view rpm = {};
    std::string_view feedRate = {};
    std::string_view motorPower = {};
    std::string_view cuttingPower = {};
    std::string_view torque = {};
    std::array<MachineLever, 6> levers = {};
};

// One operation, whole: its relation list, the texts its pages open with, its window's design,
// the New Project dialog's option that opens it (and the family frame it sits in), its material
// fields and its other names. This row is the only place an operation is
// written down; the command-line solver, the windows and the dialog all derive theirs from it.
struct OperationDefinition {
    std::string_view name; // on the command line, and the operation's identity
    const RelationList &relations;
    std::vector<std::pair<FieldId, std::string_view>> defaults = {};
    // What the window has done with the typed texts before Calculate can see them, such as a
    // field derived when another loses the focus. Empty for most operations.
    std::function<void(FieldStore &store)> prepare = {};
    design::OptionDesign option;
    const design::WindowDesign &(*design)();
    // Where a specific cutting force taken from a work material goes; none where the page has
    // no such force.
    MaterialFieldNames material = {};
    // What each field is and its unit, one line per field, kept with the list.
    const std::vector<FieldHelpEntry> *help = nullptr;
    // Other names the command line knows the operation by.
    std::vector<std::string_view> aliases = {};
    // None where the cutting-data table has no rows for the operation (shaping).
    std::optional<StartingFields> starting = {};
    MachineFields machine = {};

    // A store holding the default texts.
    FieldStore defaultStore() const;
    // Does to a page of typed texts what the window has done before Calculate sees them.
    void prepareTyped(FieldStore &store) const;
    // Per field id, the captions the operation's window shows.
    Captions captions() const;
    // Per field id, its help entry. Throws std::logic_error naming the field when the table
    // misses one, has one twice or names a field the list does not have.
    std::vector<FieldHelpEntry> fieldHelp() const;
    // Per field id, its unit, as the help table gives it.
    std::vector<std::string_view> units() const;
};

// Every operation, in the order the command-line solver lists them.
const std::vector<OperationDefinition> &operationDefinitions();
// By its name or one of its aliases; nullptr for none.
const OperationDefinition *findOperation(std::string_view name);

} // namespace zorvik
