// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

#include <cstdint>

namespace zorvik::display {

// Switches the display to x by y pixels at bits per pixel for this session, leaving the user's
// saved settings alone. A display that refuses the mode is left as it is, silently.
void changeRes(DisplayPlatform &platform, std::int32_t x, std::int32_t y, std::int32_t bits);

} // namespace zorvik::display
