// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::milling {

const calculator::WindowDesign &millingWindow();

} // namespace zorvik::milling
