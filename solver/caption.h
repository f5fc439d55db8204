// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace zorvik {

// A caption as a label, the way the window's captions are kept: without the colon that ends it
// and the spaces around both. "Depth Of Cut (mm/cut) :" is "Depth Of Cut (mm/cut)".
std::string captionLabel(std::string_view caption);

// A caption without its colon and the unit it ends with, for naming a field inside a sentence:
// "Spindle Speed" for "Spindle Speed (R.P.M) :". A final bracket that holds words ("Cutting
// Force (1 Edge)") says which quantity it is, and stays. A unit is never read from a caption:
// each field's unit is in its help table.
std::string captionName(std::string_view caption);

} // namespace zorvik
