// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

namespace zorvik::turning {

const design::WindowDesign &longitudinalWindow();
const design::WindowDesign &faceWindow();

} // namespace zorvik::turning
