// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"

#include "app/jobkeeper.h"
#include "app/newprojectdialog.h"
#include "app/windowarrangement.h"
#include "calculator/fieldedit.h"
#include "calculator/scrollframe.h"
#include "calculator/sheetprint.h"
#include "calculator/twips.h"
#include "calculator/usersettings.h"
#include "calculator/windowhost.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScopedValueRollback>
#include <QValidator>
#include <QWindow>

#include <algorithm>
#include <memory>

namespace zorvik {

namespace twips = calculator::twips;

namespace {

const QString caption = QStringLiteral("Zorvik - Machining Engineer");

QAction *addCommand(QMenu *menu, const char *name, const QString &text,
                    const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(shortcut);
    return action;
}

// Every key a text field would take as one of these commands, the menu's own first.
QList<QKeySequence> editKeys(const QKeySequence &menuKey, const QKeySequence &classicKey,
                             QKeySequence::StandardKey standard)
{
    QList<QKeySequence> keys{menuKey, classicKey};
    for (const QKeySequence &key : QKeySequence::keyBindings(standard)) {
        if (!keys.contains(key))
            keys.append(key);
    }
    return keys;
}

// The clipboard is emptied first, so copying nothing leaves an empty text on it.
void copySelection(const QLineEdit *field)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(field->selectedText());
}

// Replaces the selection (or inserts at the caret) as one step the field can undo, without
// going through its key filter or validator: whatever text the clipboard holds goes in.
void replaceSelection(QLineEdit *field, const QString &replacement)
{
    const QPointer<const QValidator> validator = field->validator();
    field->setValidator(nullptr);
    if (auto *edit = qobject_cast<calculator::FieldEdit *>(field))
        edit->replaceSelection(replacement);
    else
        field->insert(replacement);
    field->setValidator(validator);
}

void cutField(QLineEdit *field)
{
    copySelection(field);
    if (field->hasSelectedText())
        replaceSelection(field, QString());
}

void pasteField(QLineEdit *field)
{
    replaceSelection(field, QGuiApplication::clipboard()->text());
}

void deleteSelection(QLineEdit *field)
{
    replaceSelection(field, QString());
}

// What the subwindow shows (a calculator window sits in a scroll frame) as one of the
// interfaces calculator windows offer; nullptr when it offers none.
template <typename Interface> Interface *shownAs(const QMdiSubWindow *sub)
{
    return sub ? dynamic_cast<Interface *>(calculator::ScrollFrame::contentOf(sub)) : nullptr;
}

} // namespace

MainWindow::MainWindow(std::unique_ptr<DisplayHooks> displayHooks,
                       std::vector<calculator::OperationChoice> choices, QWidget *parent)
    : QMainWindow(parent), m_displayHooks(std::move(displayHooks)), m_choices(std::move(choices))
{
    setObjectName("mdimain");
    setWindowTitle(caption);
    m_workspace = new QMdiArea(this);
    m_workspace->setObjectName("workspace");
    // Windows that a cascade or a small screen pushes past the edge stay within reach.
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_workspace);
    // The design's size, kept where nothing manages windows; a window manager gives the window
    // the whole screen, its frame included, so nothing runs off the edges of an 800 x 600 one.
    resize(twips::toPixels(12000), twips::toPixels(9000));
    setWindowState(windowState() | Qt::WindowMaximized);
    m_jobs = new JobKeeper(this, *this);
    connect(m_jobs, &JobKeeper::nameChanged, this, &MainWindow::showJobName);
    connect(m_workspace, &QMdiArea::subWindowActivated, m_jobs, &JobKeeper::watchWindows);
    createMenus();
    calculator::setSettingsFailureHandler(
        [window = QPointer<MainWindow>(this)](const QString &message) {
            if (window)
                window->warn("settingsFailed", message);
        });

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::focusWindowChanged);
}

// The work area goes with the base class, after this object has stopped being a MainWindow: its
// last activation signal must not reach the job keeper, which would ask this host for it.
MainWindow::~MainWindow()
{
    disconnect(m_workspace, nullptr, m_jobs, nullptr);
}

// The menus in the order the menu bar shows them; each adds its own.
void MainWindow::createMenus()
{
    createFileMenu();
    createEditMenu();
    createWindowMenu();
    createMachineMenu();
    createHelpMenu();
}

void MainWindow::createFileMenu()
{
    QMenu *file = menuBar()->addMenu("&File");
    file->setObjectName("mnufile");
    connect(addCommand(file, "mnunew", "New Project", Qt::CTRL | Qt::Key_N), &QAction::triggered,
            this, &MainWindow::showNewProject);
    connect(addCommand(file, "mnuopen", "Open…", Qt::CTRL | Qt::Key_O), &QAction::triggered, m_jobs,
            &JobKeeper::open);
    QMenu *recent = file->addMenu("Open Recent");
    recent->setObjectName("mnurecent");
    recent->menuAction()->setObjectName("mnurecent");
    connect(recent, &QMenu::aboutToShow, m_jobs,
            [this, recent] { m_jobs->fillRecentMenu(recent); });
    connect(addCommand(file, "mnusave", "Save", Qt::CTRL | Qt::Key_S), &QAction::triggered, m_jobs,
            &JobKeeper::save);
    connect(addCommand(file, "mnusaveas", "Save As…", Qt::CTRL | Qt::SHIFT | Qt::Key_S),
            &QAction::triggered, m_jobs, &JobKeeper::saveAs);
    // The job on paper, for the shop floor; only what the calculator windows hold goes on it.
    QAction *printAction = addCommand(file, "mnuprint", "Print…", Qt::CTRL | Qt::Key_P);
    connect(printAction, &QAction::triggered, this, &MainWindow::print);
    QAction *exportAction = addCommand(file, "mnuexportpdf", "Export PDF…");
    connect(exportAction, &QAction::triggered, this, &MainWindow::exportPdfAs);
    // Shown disabled while there is nothing to print; the key still reaches the command, which
    // then says why nothing happens.
    connect(file, &QMenu::aboutToShow, this, [this, printAction, exportAction] {
        const bool any = !jobSheet(QString()).pages.empty();
        printAction->setEnabled(any);
        exportAction->setEnabled(any);
    });
    connect(file, &QMenu::aboutToHide, this, [printAction, exportAction] {
        printAction->setEnabled(true);
        exportAction->setEnabled(true);
    });
    file->addSeparator()->setObjectName("sep45");
    // Exit leaves the way the close box does, so child windows close and the unload step runs.
    connect(addCommand(file, "mnuexit", "Exit", Qt::CTRL | Qt::Key_Q), &QAction::triggered, this,
            &QWidget::close);
}

void MainWindow::createEditMenu()
{
    QMenu *edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnuedit");
    QAction *cutAction = addCommand(edit, "mnucut", "Cut");
    cutAction->setShortcuts(
        editKeys(Qt::CTRL | Qt::Key_X, Qt::SHIFT | Qt::Key_Delete, QKeySequence::Cut));
    QAction *copyAction = addCommand(edit, "mnucopy", "Copy");
    copyAction->setShortcuts(
        editKeys(Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_Insert, QKeySequence::Copy));
    QAction *pasteAction = addCommand(edit, "mnupaste", "Paste");
    pasteAction->setShortcuts(
        editKeys(Qt::CTRL | Qt::Key_V, Qt::SHIFT | Qt::Key_Insert, QKeySequence::Paste));
    connect(cutAction, &QAction::triggered, this, &MainWindow::cut);
    connect(copyAction, &QAction::triggered, this, &MainWindow::copy);
    connect(pasteAction, &QAction::triggered, this, &MainWindow::paste);
    m_editActions = {cutAction, copyAction, pasteAction};
}

void MainWindow::createWindowMenu()
{
    m_windowMenu = menuBar()->addMenu("&Window");
    m_windowMenu->setObjectName("mnuwindow");
    const struct {
        const char *name;
        const char *text;
        Arrangement arrangement;
    } arrangements[] = {
        {"mnuhorizon", "Tile Horizontally", Arrangement::TileHorizontally},
        {"mnuvertical", "Tile Vertically", Arrangement::TileVertically},
        {"mnucascade", "Cascade", Arrangement::Cascade},
        {"mnuicons", "Arrange Icons", Arrangement::ArrangeIcons},
    };
    for (const auto &entry : arrangements) {
        connect(addCommand(m_windowMenu, entry.name, entry.text), &QAction::triggered, this,
                [this, how = entry.arrangement] { arrange(m_workspace, how); });
    }
    QAction *reopen = addCommand(m_windowMenu, "mnureopen", "Reopen Closed Window",
                                 Qt::CTRL | Qt::SHIFT | Qt::Key_T);
    connect(reopen, &QAction::triggered, m_jobs, &JobKeeper::reopenClosed);
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowList);
}

void MainWindow::createMachineMenu()
{
    // The user's machines, between the window list and Help.
    QMenu *machine = menuBar()->addMenu("&Machine");
    machine->setObjectName("mnumachine");
    QAction *choose = addCommand(machine, "mnuchoosemachine", "Choose Machine…");
    connect(choose, &QAction::triggered, this, [this] {
        if (calculator::MachineUser *user = activeMachineUser())
            user->chooseMachine();
    });
    QAction *editMachines = addCommand(machine, "mnumachines", "Machines…");
    connect(editMachines, &QAction::triggered, this, [this] {
        if (!m_machineEditor || !m_machineEditor(this))
            return;
        for (QMdiSubWindow *sub : m_workspace->subWindowList()) {
            if (auto *user = shownAs<calculator::MachineUser>(sub))
                user->machinesChanged();
        }
    });
    connect(machine, &QMenu::aboutToShow, this, [this, choose, editMachines] {
        choose->setEnabled(activeMachineUser() != nullptr);
        editMachines->setEnabled(bool(m_machineEditor));
    });
}

void MainWindow::createHelpMenu()
{
    QMenu *help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuhelp");
    connect(addCommand(help, "mnuabout", "About Zorvik-Engineer"), &QAction::triggered, this,
            &MainWindow::about);
}

calculator::JobSheet MainWindow::jobSheet(const QString &jobName) const
{
    calculator::JobSheet sheet;
    sheet.jobName = jobName;
    // A fixed format, so the date reads the same whatever the locale.
    sheet.date = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    for (QMdiSubWindow *sub : m_workspace->subWindowList()) {
        auto *source = shownAs<calculator::SheetSource>(sub);
        if (sub->isHidden() || !source)
            continue;
        for (calculator::SheetPage &page : source->sheetPages())
            sheet.pages.push_back(std::move(page));
    }
    return sheet;
}

// The sheet names the job as its file is named, and an unsaved one as an unsaved document is.
QString MainWindow::jobName() const
{
    const QString path = m_jobs ? m_jobs->path() : QString();
    return path.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(path).fileName();
}

bool MainWindow::sheetHasPages(const calculator::JobSheet &sheet)
{
    if (!sheet.pages.empty())
        return true;
    QMessageBox box(QMessageBox::Information, caption,
                    "There is nothing to print: no calculator window holds anything but what "
                    "it opened with. Open one with File > New Project and type what you know.",
                    QMessageBox::Ok, this);
    box.setObjectName("nothingToPrint");
    box.exec();
    return false;
}

void MainWindow::print()
{
    const calculator::JobSheet sheet = jobSheet(jobName());
    if (!sheetHasPages(sheet))
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Job sheet: %1").arg(sheet.jobName));
    printer.setPageSize(calculator::localPaper());
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName("printDialog");
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The printer's own file output takes a short write on a full disk for a whole one; a
    // file goes the way Export PDF's does.
    if (!printer.outputFileName().isEmpty()) {
        const QPageLayout layout = printer.pageLayout();
        const QString error = calculator::writeSheetPdf(sheet, printer.outputFileName(),
                                                        layout.pageSize(), layout.orientation());
        if (!error.isEmpty())
            warn("printFailed", error);
        return;
    }
    calculator::printSheet(sheet, printer);
    if (printer.printerState() == QPrinter::Error)
        warn(
            "printFailed",
            QStringLiteral("The job sheet could not be printed on %1.").arg(printer.printerName()));
}

void MainWindow::warn(const char *name, const QString &message)
{
    QMessageBox box(QMessageBox::Warning, caption, message, QMessageBox::Ok, this);
    box.setObjectName(name);
    box.exec();
}

QString MainWindow::exportPdf(const QString &path) const
{
    return calculator::writeSheetPdf(jobSheet(jobName()), path);
}

void MainWindow::exportPdfAs()
{
    if (!sheetHasPages(jobSheet(jobName())))
        return;
    QFileDialog dialog(this, QStringLiteral("Export PDF"),
                       QDir::home().filePath(jobName() + QStringLiteral(".pdf")),
                       QStringLiteral("PDF documents (*.pdf)"));
    dialog.setObjectName("exportPdfDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString error = exportPdf(dialog.selectedFiles().constFirst());
    if (!error.isEmpty())
        warn("exportFailed", error);
}

calculator::MachineUser *MainWindow::activeMachineUser() const
{
    return shownAs<calculator::MachineUser>(m_workspace->activeSubWindow());
}

void MainWindow::rebuildWindowList()
{
    for (QAction *action : std::as_const(m_windowList)) {
        m_windowMenu->removeAction(action);
        action->deleteLater();
    }
    m_windowList.clear();

    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *sub : m_workspace->subWindowList()) {
        if (!sub->isHidden())
            windows.append(sub);
    }
    if (windows.isEmpty())
        return;
    m_windowList.append(m_windowMenu->addSeparator());
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        QString title = sub->windowTitle();
        title.replace('&', "&&");
        const QString text = i < 9 ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                   : QStringLiteral("%1 %2").arg(i + 1).arg(title);
        QAction *action = m_windowMenu->addAction(text);
        action->setCheckable(true);
        action->setChecked(sub == m_workspace->activeSubWindow());
        connect(action, &QAction::triggered, this, [this, window = QPointer(sub)] {
            if (!window)
                return;
            if (window->isMinimized())
                window->showNormal();
            m_workspace->setActiveSubWindow(window);
        });
        m_windowList.append(action);
    }
}

// A dialog that was closed is no longer loaded, even while its deletion is still pending.
QMdiSubWindow *MainWindow::loadedNewProject() const
{
    return m_newProject && !m_newProject->isHidden() ? m_newProject.data() : nullptr;
}

NewProjectDialog *MainWindow::newProjectDialog() const
{
    QMdiSubWindow *sub = loadedNewProject();
    return sub ? qobject_cast<NewProjectDialog *>(sub->widget()) : nullptr;
}

void MainWindow::loadNewProject()
{
    if (loadedNewProject())
        return;
    auto *dialog = new NewProjectDialog(m_choices, this);
    m_newProject =
        m_workspace->addSubWindow(dialog, Qt::SubWindow | Qt::WindowTitleHint |
                                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_newProject->setAttribute(Qt::WA_DeleteOnClose);
    dialog->load();
    m_newProject->show();
}

void MainWindow::showNewProject()
{
    loadNewProject();
    m_newProject->raise();
    m_workspace->setActiveSubWindow(m_newProject);
}

void MainWindow::setVisible(bool visible)
{
    if (visible && !m_loaded) {
        m_loaded = true;
        if (m_displayHooks)
            m_displayHooks->load(this);
    }
    QMainWindow::setVisible(visible);
}

void MainWindow::showJobName()
{
    const QString name = m_jobs->jobName();
    setWindowTitle(name.isEmpty() ? caption : caption + QStringLiteral(" - ") + name);
}

// Ended from outside, the windows' unsaved work stays in the recovery file for the next start.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closeWithoutAsking && !m_jobs->askToSave()) {
        event->ignore();
        return;
    }
    if (m_closeWithoutAsking && m_jobs->modified())
        m_jobs->writeRecovery();
    {
        const QScopedValueRollback<bool> closing(m_closing, true);
        for (QMdiSubWindow *sub : m_workspace->subWindowList()) {
            if (!sub->close()) {
                event->ignore();
                return;
            }
        }
    }
    if (!m_closeWithoutAsking || !m_jobs->modified())
        m_jobs->removeRecovery();
    if (!m_unloaded) {
        m_unloaded = true;
        if (m_displayHooks)
            m_displayHooks->unload();
    }
    event->accept();
}

// A message box (About, the display's reboot question) is part of the main window, whatever
// its parent: the focus coming back from it is no activation.
bool MainWindow::isPartOfMainWindow(QWindow *window) const
{
    for (QWindow *w = window; w; w = w->transientParent()) {
        if (w == windowHandle())
            return true;
    }
    const QWidgetList topLevels = QApplication::topLevelWidgets();
    return std::any_of(topLevels.cbegin(), topLevels.cend(), [window](const QWidget *widget) {
        return widget->windowHandle() == window && qobject_cast<const QMessageBox *>(widget);
    });
}

// The main window becomes active "from nowhere" when it is first shown, or from another window
// of this application; coming back from another application, a menu or a message box does not
// count.
void MainWindow::focusWindowChanged(QWindow *focus)
{
    const bool fromOtherWindow = m_focusWasInOtherWindow;
    m_focusWasInOtherWindow = focus && focus->type() != Qt::Popup && focus->type() != Qt::ToolTip &&
                              !isPartOfMainWindow(focus);
    if (!focus || focus != windowHandle())
        return;
    if (!m_activatedBefore || fromOtherWindow)
        loadNewProject();
    m_activatedBefore = true;
}

// Every way a text field has to cut, copy and paste (its keys, its context menu) goes through
// the Edit commands rather than the field's own clipboard handling, which behaves differently
// with an empty selection or clipboard and stops at the field's validator.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::Close && !m_closing) {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(watched);
            sub && sub->mdiArea() == m_workspace)
            m_jobs->windowClosing(sub);
    }
    if (type != QEvent::ShortcutOverride && type != QEvent::ContextMenu)
        return QMainWindow::eventFilter(watched, event);
    auto *field = qobject_cast<QLineEdit *>(watched);
    if (!field || !isAncestorOf(field))
        return QMainWindow::eventFilter(watched, event);
    if (type == QEvent::ContextMenu) {
        showFieldMenu(field, static_cast<QContextMenuEvent *>(event)->globalPos());
        return true;
    }
    const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
    for (const QAction *action : std::as_const(m_editActions)) {
        if (action->shortcuts().contains(pressed)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// The field's own menu, with Cut, Copy, Paste and Delete acting as the Edit commands do. Their
// items are known by the field's own captions, which carry no names.
void MainWindow::showFieldMenu(QLineEdit *field, const QPoint &globalPos)
{
    const struct {
        const char *caption;
        const char *name; // of the item put in its place
        void (*run)(QLineEdit *field);
    } routes[] = {
        {"Cu&t", "cut", cutField},
        {"&Copy", "copy", [](QLineEdit *field) { copySelection(field); }},
        {"&Paste", "paste", pasteField},
        {"Delete", "delete", deleteSelection},
    };
    const std::unique_ptr<QMenu> menu(field->createStandardContextMenu());
    for (QAction *standard : menu->actions()) {
        const QString caption = standard->text().section('\t', 0, 0);
        for (const auto &route : routes) {
            if (caption != QCoreApplication::translate("QLineEdit", route.caption))
                continue;
            auto *routed = new QAction(standard->text(), menu.get());
            routed->setObjectName(QString::fromLatin1(route.name));
            routed->setEnabled(standard->isEnabled());
            connect(routed, &QAction::triggered, field, [field, run = route.run] { run(field); });
            menu->insertAction(standard, routed);
            menu->removeAction(standard);
        }
    }
    for (QWidget *owner = field->parentWidget(); owner; owner = owner->parentWidget()) {
        if (auto *window = dynamic_cast<calculator::FieldMenuExtension *>(owner)) {
            window->addFieldActions(menu.get(), field);
            break;
        }
    }
    menu->exec(globalPos);
}

QLineEdit *MainWindow::focusedField() const
{
    QMdiSubWindow *active = m_workspace->activeSubWindow();
    if (!active)
        return nullptr;
    QWidget *focus = QApplication::focusWidget();
    if (!focus || !active->isAncestorOf(focus))
        focus = active->focusWidget();
    return qobject_cast<QLineEdit *>(focus);
}

void MainWindow::cut()
{
    if (QLineEdit *field = focusedField())
        cutField(field);
}

void MainWindow::copy()
{
    if (QLineEdit *field = focusedField())
        copySelection(field);
}

void MainWindow::paste()
{
    if (QLineEdit *field = focusedField())
        pasteField(field);
}

void MainWindow::about()
{
    QMessageBox box(QMessageBox::NoIcon, caption,
                    "Zorvik-Engineer, cutting data for turning, drilling, milling and shaping, "
                    "by the Zorvik-Engineer authors.\n"
                    "Contact: the Zorvik-Engineer maintainers, through the project's issue "
                    "tracker.",
                    QMessageBox::Ok, this);
    box.setObjectName("about");
    // Below the credit and contact lines, which stay two; it is the version --version prints,
    // the first thing a bug report needs.
    box.setInformativeText(QStringLiteral("Version %1").arg(QApplication::applicationVersion()));
    box.setIconPixmap(QApplication::windowIcon().pixmap(64));
    box.exec();
}

} // namespace zorvik
