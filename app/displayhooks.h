// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace zorvik {

// What the main window's load and unload steps do with the display. The display-mode switch
// implements it per platform; the main window calls it without knowing the platform.
class DisplayHooks {
public:
    virtual ~DisplayHooks() = default;
    // Load step: runs before the main window is first shown.
    virtual void load(QWidget *mainWindow) = 0;
    // Unload step: runs once, after every child window has closed.
    virtual void unload() = 0;
};

} // namespace zorvik
