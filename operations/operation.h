// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

#include <functional>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

enum class OperationId { Longitudinal, Face, Taper, Drilling, Milling, Shaping };

// One operation as the command-line solver and the windows see it: its relation list and the
// texts its pages open with. This table is the only place an operation and its default texts are
// written; the windows look theirs up here by id.
struct OperationDefinition {
    OperationId id;
    std::string_view name; // on the command line
    const RelationList &relations;
    std::vector<std::pair<FieldId, std::string_view>> defaults;
    // What the window has done with the typed texts before Calculate can see them, such as a
    // field derived when another loses the focus. Empty for most operations.
    std::function<void(FieldStore &store)> prepare;

    // A store holding the default texts.
    FieldStore defaultStore() const;
};

// Every operation, in the order the command-line solver lists them.
const std::vector<OperationDefinition> &operationDefinitions();
const OperationDefinition *findOperation(std::string_view name);
const OperationDefinition &operation(OperationId id);

} // namespace zorvik
