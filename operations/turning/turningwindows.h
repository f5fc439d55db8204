// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"

namespace zorvik::turning {

const calculator::WindowDesign &longitudinalWindow();
const calculator::WindowDesign &faceWindow();

} // namespace zorvik::turning
