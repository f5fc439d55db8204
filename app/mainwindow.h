// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/displayhooks.h"
#include "calculator/jobsheet.h"
#include "calculator/windowhost.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <vector>

class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;

namespace zorvik {

class JobKeeper;
class NewProjectDialog;

// The main window: a multiple-document frame that holds the New Project dialog and the
// calculator windows, with the menu bar and the display load and unload steps. It is the host of
// the calculator windows it opens.
class MainWindow : public QMainWindow, public calculator::WindowHost {
    Q_OBJECT
public:
    // choices: the operations the New Project dialog offers, one option each.
    explicit MainWindow(std::unique_ptr<DisplayHooks> displayHooks = nullptr,
                        std::vector<calculator::OperationChoice> choices = {},
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    QMdiArea *workArea() const override { return m_workspace; }
    NewProjectDialog *newProjectDialog() const;

    // Loads the New Project dialog when it is not loaded, which starts its slide-in.
    void loadNewProject();
    // Loads the dialog if needed and brings it to the front.
    void showNewProject() override;

    void setVisible(bool visible) override;

    // The job sheet of the open calculator windows, dated now: their pages that hold anything.
    calculator::JobSheet jobSheet(const QString &jobName) const;
    // Writes the job sheet of the open job as a PDF; returns why it could not, empty when
    // written. What Export PDF… does once it has a file name.
    QString exportPdf(const QString &path) const;

    // What Machine > Machines… opens; without one the entry is disabled.
    void setMachineEditor(calculator::MachineEditor editor) { m_machineEditor = std::move(editor); }

    // The job the windows make up: its file, its unsaved changes, its recovery file.
    JobKeeper &jobs() const { return *m_jobs; }
    // The next close neither asks to save nor removes the recovery file: the program is being
    // ended from outside (a signal, a logout), and nobody may be there to answer.
    void closeWithoutAsking() { m_closeWithoutAsking = true; }

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMenus();
    void createFileMenu();
    void createEditMenu();
    void createWindowMenu();
    void createMachineMenu();
    void createHelpMenu();
    QMdiSubWindow *loadedNewProject() const;
    void rebuildWindowList();
    bool isPartOfMainWindow(QWindow *window) const;
    void focusWindowChanged(QWindow *focus);
    void showFieldMenu(QLineEdit *field, const QPoint &globalPos);
    QLineEdit *focusedField() const;
    void cut();
    void copy();
    void paste();
    void about();
    // The name the job sheet gives the job.
    QString jobName() const;
    // Says so and returns false when no calculator window holds anything to put on paper.
    bool sheetHasPages(const calculator::JobSheet &sheet);
    void print();
    void exportPdfAs();
    // A warning box named for the tests, with OK.
    void warn(const char *name, const QString &message);
    calculator::MachineUser *activeMachineUser() const;
    void showJobName();

    std::unique_ptr<DisplayHooks> m_displayHooks;
    std::vector<calculator::OperationChoice> m_choices;
    QMdiArea *m_workspace = nullptr;
    QMenu *m_windowMenu = nullptr;
    calculator::MachineEditor m_machineEditor;
    QList<QAction *> m_windowList;
    QList<QAction *> m_editActions;
    QPointer<QMdiSubWindow> m_newProject;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_activatedBefore = false;
    bool m_focusWasInOtherWindow = false;
    JobKeeper *m_jobs = nullptr;
    bool m_closeWithoutAsking = false;
    bool m_closing = false;
};

} // namespace zorvik
