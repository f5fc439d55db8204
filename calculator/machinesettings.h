// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/machine.h"

#include <vector>

namespace zorvik::calculator {

// The user's machines, kept in the calculator's settings under the keys a machine file uses.
std::vector<Machine> loadMachines();
void saveMachines(const std::vector<Machine> &machines);

} // namespace zorvik::calculator
