// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldhelp.h"

#include <vector>

namespace zorvik::drilling {

// What each field of the drilling list is, with its unit.
const std::vector<FieldHelpEntry> &fieldHelp();

} // namespace zorvik::drilling
