// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"

#include <functional>

class QLineEdit;
class QMdiArea;
class QMenu;
class QWidget;

namespace zorvik::calculator {

// What a calculator window needs of the application that opens it. The application hands it
// down when it opens the window, so the window never looks the main window up.
class WindowHost {
public:
    virtual ~WindowHost() = default;
    // Where calculator windows open; nullptr when they stand alone.
    virtual QMdiArea *workArea() const = 0;
    // Back: loads the New Project dialog if needed and brings it to the front.
    virtual void showNewProject() = 0;
};

// A window whose fields' context menus, built by the application, carry entries of its own.
class FieldMenuExtension {
public:
    virtual ~FieldMenuExtension() = default;
    virtual void addFieldActions(QMenu *menu, QLineEdit *field) = 0;
};

// A window whose results are checked against one of the user's machines, as the Machine menu
// reaches it.
class MachineUser {
public:
    virtual ~MachineUser() = default;
    // Asks which machine the window is for.
    virtual void chooseMachine() = 0;
    // The user's machines changed: the window takes the new limits of its machine by its name,
    // or none when it is gone.
    virtual void machinesChanged() = 0;
};

// Opens the editor of the user's machines over parent; returns whether they changed.
using MachineEditor = std::function<bool(QWidget *parent)>;

// One operation the New Project dialog offers: its option button, and how to open (or bring
// forward) its calculator window.
struct OperationChoice {
    design::OptionDesign option;
    std::function<void(WindowHost &host)> open;
};

} // namespace zorvik::calculator
