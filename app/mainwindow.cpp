#include "app/mainwindow.h"

#include "app/newprojectdialog.h"
#include "app/windowarrangement.h"
#include "calculator/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QWindow>

namespace zorvik {

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

// The clipboard is emptied first, so copying nothing leaves an empty text on it.
void copySelection(const QLineEdit *field)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(field->selectedText());
}

// Replaces the selection (or inserts at the caret) without going through the field's key filter
// or validator: whatever text the clipboard holds goes in.
void replaceSelection(QLineEdit *field, const QString &replacement)
{
    const QString text = field->text();
    const int start = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    const int length = static_cast<int>(field->selectedText().size());
    field->setText(text.left(start) + replacement + text.mid(start + length));
    field->setCursorPosition(start + static_cast<int>(replacement.size()));
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
    setCentralWidget(m_workspace);
    resize(twips::toPixels(12000), twips::toPixels(9000));
    createMenus();

    qApp->installEventFilter(this);
    connect(qApp, &QGuiApplication::focusWindowChanged, this, &MainWindow::focusWindowChanged);
}

MainWindow::~MainWindow() = default;

void MainWindow::createMenus()
{
    QMenu *file = menuBar()->addMenu("&File");
    file->setObjectName("mnufile");
    connect(addCommand(file, "mnunew", "New Project", Qt::CTRL | Qt::Key_N), &QAction::triggered,
            this, &MainWindow::showNewProject);
    file->addSeparator()->setObjectName("sep45");
    // Exit leaves the way the close box does, so child windows close and the unload step runs.
    connect(addCommand(file, "mnuexit", "Exit", Qt::CTRL | Qt::Key_Q), &QAction::triggered, this,
            &QWidget::close);

    QMenu *edit = menuBar()->addMenu("&Edit");
    edit->setObjectName("mnuedit");
    QAction *cutAction = addCommand(edit, "mnucut", "Cut", Qt::CTRL | Qt::Key_X);
    QAction *copyAction = addCommand(edit, "mnucopy", "Copy", Qt::CTRL | Qt::Key_C);
    QAction *pasteAction = addCommand(edit, "mnupaste", "Paste", Qt::CTRL | Qt::Key_V);
    connect(cutAction, &QAction::triggered, this, &MainWindow::cut);
    connect(copyAction, &QAction::triggered, this, &MainWindow::copy);
    connect(pasteAction, &QAction::triggered, this, &MainWindow::paste);
    m_editActions = {cutAction, copyAction, pasteAction};

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
    connect(m_windowMenu, &QMenu::aboutToShow, this, &MainWindow::rebuildWindowList);

    QMenu *help = menuBar()->addMenu("&Help");
    help->setObjectName("mnuhelp");
    connect(addCommand(help, "mnuabout", "About Zorvik-Engineer"), &QAction::triggered, this,
            &MainWindow::about);
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    for (QMdiSubWindow *sub : m_workspace->subWindowList()) {
        if (!sub->close()) {
            event->ignore();
            return;
        }
    }
    if (!m_unloaded) {
        m_unloaded = true;
        if (m_displayHooks)
            m_displayHooks->unload();
    }
    event->accept();
}

// The main window becomes active "from nowhere" when it is first shown, or from another window
// of this application (a message box); coming back from another application does not count.
void MainWindow::focusWindowChanged(QWindow *focus)
{
    const bool fromOwnWindow = m_focusWasInOwnWindow;
    m_focusWasInOwnWindow = focus && focus->type() != Qt::Popup && focus->type() != Qt::ToolTip;
    if (!focus || focus != windowHandle())
        return;
    if (!m_activatedBefore || fromOwnWindow)
        loadNewProject();
    m_activatedBefore = true;
}

// Cut, Copy and Paste keys in a text field go through the Edit commands rather than the field's
// own clipboard handling, which behaves differently with an empty selection or clipboard.
bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *field = qobject_cast<QLineEdit *>(watched);
        if (field && isAncestorOf(field)) {
            const QKeySequence pressed(static_cast<QKeyEvent *>(event)->keyCombination());
            for (const QAction *action : std::as_const(m_editActions)) {
                if (action->shortcut() == pressed) {
                    event->ignore();
                    return true;
                }
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
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
    QLineEdit *field = focusedField();
    if (!field)
        return;
    copySelection(field);
    if (field->hasSelectedText())
        replaceSelection(field, QString());
}

void MainWindow::copy()
{
    if (QLineEdit *field = focusedField())
        copySelection(field);
}

void MainWindow::paste()
{
    if (QLineEdit *field = focusedField())
        replaceSelection(field, QGuiApplication::clipboard()->text());
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
    box.setIconPixmap(QApplication::windowIcon().pixmap(64));
    box.exec();
}

} // namespace zorvik
