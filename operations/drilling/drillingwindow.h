// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

namespace zorvik::drilling {

const design::WindowDesign &drillingWindow();

} // namespace zorvik::drilling
