// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/machine.h"
#include "wording/wording.h"

#include <vector>

class QLineEdit;

namespace zorvik::calculator {

// The property a field beyond its window's machine carries, for styles and tests.
inline constexpr char beyondMachineProperty[] = "beyondMachine";

// What a page's machine says of it. A result out of date was worked out from other inputs than
// the page holds: what it needed then is no verdict on the page now, and no suggestion is worked
// out from a page that mixes it with new inputs.
struct MachineVerdicts {
    std::vector<Exceedance> current; // on fields that are not out of date
    std::vector<Exceedance> before;  // on fields out of date, beyond when they were computed
};

// Gives each field beyond the machine a look of its own, a background between the page's and a
// violet, readable in light and dark palettes, and adds to its explanation what the
// machine gives and what would bring the field within; a field out of date that was beyond when
// computed takes no look and only says so. Clears the mark from every other field.
// fields: the page's, by field id, with the palette and explanation of their other looks set.
void showBeyondMachine(const MachineVerdicts &verdicts, const std::vector<QLineEdit *> &fields,
                       const Captions &captions);

} // namespace zorvik::calculator
