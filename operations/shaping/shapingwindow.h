// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

namespace zorvik::shaping {

const design::WindowDesign &shapingWindow();

} // namespace zorvik::shaping
