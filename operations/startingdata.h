// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/cuttingdata.h"
#include "operations/materials.h"
#include "operations/operation.h"

#include <optional>
#include <string>

namespace zorvik {

// A starting value for one field of a page: the low end of the cutting speed range, or the
// middle of the feed range (times the tool diameter in drilling and milling), the same for
// roughing and finishing.
struct StartingValue {
    FieldId field = -1;
    std::optional<std::string> text; // none where the table has no figure or the page too little
    // Where the value came from (group, tool material, range and table row), or why there is none.
    std::string explanation;
};

// The operation's starting cutting speed or feed for the group and tool material on a page; none
// where the operation has no starting data (shaping).
std::optional<StartingValue> startingSpeed(const OperationDefinition &operation,
                                           const FieldStore &page,
                                           const materials::MaterialGroup &group,
                                           cuttingdata::Tool tool);
std::optional<StartingValue> startingFeed(const OperationDefinition &operation,
                                          const FieldStore &page,
                                          const materials::MaterialGroup &group,
                                          cuttingdata::Tool tool);

// Sets the page's cutting speed and feed where they are blank: the values it set, and for each
// it could not set for want of a figure or a diameter, why.
struct StartingData {
    std::vector<StartingValue> set;
    std::vector<std::string> notes;
};
StartingData setStartingData(const OperationDefinition &operation, FieldStore &page,
                             const materials::MaterialGroup &group, cuttingdata::Tool tool);

} // namespace zorvik
