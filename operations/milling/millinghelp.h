// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldhelp.h"

#include <vector>

namespace zorvik::milling {

// What each field of the milling list is, with its unit.
const std::vector<FieldHelpEntry> &fieldHelp();

} // namespace zorvik::milling
