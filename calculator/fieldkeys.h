// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

class QKeyEvent;

namespace zorvik::calculator {

// Whether a typed key may reach a field with that filter.
bool filterPasses(design::KeyFilter filter, const QKeyEvent &event);

// Whether the key types the decimal separator of a decimal-comma keyboard, which a decimal field
// takes as the point its numbers are written with.
bool typesDecimalSeparator(const QKeyEvent &event);

} // namespace zorvik::calculator
