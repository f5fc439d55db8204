// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

namespace zorvik::milling {

const design::WindowDesign &millingWindow();

} // namespace zorvik::milling
