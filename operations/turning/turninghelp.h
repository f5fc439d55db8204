// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldhelp.h"

#include <vector>

namespace zorvik::turning {

// What each field of the longitudinal and the face turning list is, with its unit.
const std::vector<FieldHelpEntry> &fieldHelp();
const std::vector<FieldHelpEntry> &faceFieldHelp();

} // namespace zorvik::turning

namespace zorvik::taper {

const std::vector<FieldHelpEntry> &fieldHelp();

} // namespace zorvik::taper
