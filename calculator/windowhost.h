// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "design/windowdesign.h"
#include "job/job.h"

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

// A window a job keeps: what it holds as a job file's record, and that record shown again.
class JobWindow {
public:
    virtual ~JobWindow() = default;
    virtual job::WindowRecord record() const = 0;
    // Shows the window as the record holds it; the record is of the window's own operation.
    virtual void restore(const job::WindowRecord &record) = 0;
    // Called after every change of what the record would hold.
    virtual void setChangeListener(std::function<void()> listener) = 0;
};

// Opens (or brings forward) the window of an operation by its name, for a job; nullptr when
// there is no such operation.
using JobWindowOpener = std::function<JobWindow *(const std::string &operation, WindowHost &)>;

// Opens the editor of the user's machines over parent; returns whether they changed.
using MachineEditor = std::function<bool(QWidget *parent)>;

// One operation the New Project dialog offers: its option button, and how to open (or bring
// forward) its calculator window.
struct OperationChoice {
    design::OptionDesign option;
    std::function<void(WindowHost &host)> open;
};

} // namespace zorvik::calculator
