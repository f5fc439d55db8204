// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "page/pagemodel.h"
#include "wording/wording.h"

#include <vector>

class QLineEdit;

namespace zorvik::calculator {

// The property a field beyond its window's machine carries, for styles and tests.
inline constexpr char beyondMachineProperty[] = "beyondMachine";

// Gives each field beyond the machine a look of its own, a background between the page's and a
// violet, readable in light and dark palettes, and adds to its explanation what the
// machine gives and what would bring the field within; a field out of date that was beyond when
// computed takes no look and only says so. Clears the mark from every other field.
// fields: the page's, by field id, with the palette and explanation of their other looks set.
void showBeyondMachine(const MachineVerdicts &verdicts, const std::vector<QLineEdit *> &fields,
                       const OperationDefinition &operation, const Captions &captions);

} // namespace zorvik::calculator
