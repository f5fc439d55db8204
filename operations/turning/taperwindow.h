// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::taper {

const calculator::WindowDesign &taperWindow();

} // namespace zorvik::taper
