// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace zorvik {

// The program's own icon, from the pictures built into it: one per size a title bar, a task bar
// or a window switcher asks for.
QIcon applicationIcon();

} // namespace zorvik
