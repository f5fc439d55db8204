// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

namespace zorvik::taper {

const design::WindowDesign &taperWindow();

} // namespace zorvik::taper
