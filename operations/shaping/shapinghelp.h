// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldhelp.h"

#include <vector>

namespace zorvik::shaping {

// What each field of the shaping list is, with its unit.
const std::vector<FieldHelpEntry> &fieldHelp();

} // namespace zorvik::shaping
