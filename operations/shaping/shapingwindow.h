// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::shaping {

const calculator::WindowDesign &shapingWindow();

} // namespace zorvik::shaping
