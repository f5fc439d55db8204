// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/machine.h"

#include <QString>

#include <vector>

namespace zorvik::calculator {

// A machine as the settings keep it: what still reads, and by key (in the order of
// machineKeys()) each text that no longer does, null where the key read or was not kept.
struct SavedMachine {
    Machine machine;
    std::vector<QString> unread;
};

// The user's machines, kept in the calculator's settings under the keys a machine file uses:
// every one, also those that no longer read (a value the checks have come to refuse, a file
// edited by hand), so that the Machines dialog shows them to be mended and never drops them.
std::vector<SavedMachine> loadSavedMachines();
// Those that read whole: what a window can work with.
std::vector<Machine> loadMachines();
void saveMachines(const std::vector<Machine> &machines);

} // namespace zorvik::calculator
