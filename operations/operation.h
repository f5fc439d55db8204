// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"
#include "solver/fieldhelp.h"
#include "solver/relationlist.h"

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

// One operation, whole: its relation list, the texts its pages open with, its window's design and
// the New Project dialog's option that opens it. This row is the only place an operation is
// written down; the command-line solver, the windows and the dialog all derive theirs from it.
struct OperationDefinition {
    std::string_view name; // on the command line, and the operation's identity
    const RelationList &relations;
    std::vector<std::pair<FieldId, std::string_view>> defaults;
    // What the window has done with the typed texts before Calculate can see them, such as a
    // field derived when another loses the focus. Empty for most operations.
    std::function<void(FieldStore &store)> prepare;
    design::OptionDesign option;
    const design::WindowDesign &(*design)();
    // The field holding the chip thickness the specific cutting force is taken at (the one its
    // force rule multiplies per unit of chip width); empty where the page has no such force.
    std::string_view chipThickness = {};
    // What each field is and its unit, one line per field, kept with the list.
    const std::vector<FieldHelpEntry> *help = nullptr;

    // A store holding the default texts.
    FieldStore defaultStore() const;
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
const OperationDefinition *findOperation(std::string_view name);

} // namespace zorvik
