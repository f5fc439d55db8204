// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldhelp.h"
#include "solver/relationlist.h"

#include <vector>

namespace zorvik {

// own, with the entries every list words alike (the power, the efficiencies, the specific force
// and power, the removal rate) for the fields of list that own does not describe itself.
std::vector<FieldHelpEntry> withCommonHelp(const RelationList &list,
                                           std::vector<FieldHelpEntry> own);

} // namespace zorvik
