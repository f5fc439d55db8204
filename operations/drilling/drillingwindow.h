// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::drilling {

const calculator::WindowDesign &drillingWindow();

} // namespace zorvik::drilling
