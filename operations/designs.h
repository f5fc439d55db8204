// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calculator/windowdesign.h"
#include "operations/operation.h"

namespace zorvik {

using DesignFunction = const calculator::WindowDesign &(*)();

// Every operation's window design. This is the one place an operation meets its design; the
// windows and the command-line solver both look it up here.
DesignFunction designFunction(OperationId id);

// Per field id, the captions the operation's window shows.
Captions fieldCaptions(const OperationDefinition &operation);

} // namespace zorvik
