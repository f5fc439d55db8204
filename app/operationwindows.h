// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowhost.h"

#include <vector>

namespace zorvik {

// The New Project dialog's options, one per row of the operations table, each opening (or
// bringing forward) that operation's calculator window.
std::vector<calculator::OperationChoice> operationChoices();

// Opens an operation's window for a job, by the operation's name.
calculator::JobWindowOpener jobWindowOpener();

// The editor of the user's machines that the Machine menu opens.
calculator::MachineEditor machineEditor();

} // namespace zorvik
