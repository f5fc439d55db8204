// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// A caption as a label, the way the window's captions are kept: without the colon that ends it
// and the spaces around both. "Depth Of Cut (mm/cut) :" is "Depth Of Cut (mm/cut)".
std::string captionLabel(std::string_view caption);

} // namespace zorvik
