// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/calculatorwindow.h"
#include "calculator/windowhost.h"
#include "operations/operation.h"

#include <vector>

namespace zorvik {

// The calculator window of an operation: the New Project dialog's option that opens it, its
// design, and for windows that add behaviour of their own, how to build them. The operation's
// relation list and default texts come from its row in the operations table.
struct CalculatorWindowEntry {
    OperationId operation;
    const char *option;
    // Null while the operation has no window: choosing it in the dialog then does nothing.
    const calculator::WindowDesign &(*design)() = nullptr;
    calculator::CalculatorWindow::Create create = {};
};

// Every operation the New Project dialog offers, in the order its Ok tests the options.
const std::vector<CalculatorWindowEntry> &calculatorWindows();

// Opens the entry's window in the host's work area, or brings the open one forward.
calculator::CalculatorWindow *openWindow(const CalculatorWindowEntry &entry,
                                         calculator::WindowHost &host);

// The dialog's options with how to open their windows, in the order Ok tests them.
std::vector<calculator::OperationChoice> operationChoices();

} // namespace zorvik
