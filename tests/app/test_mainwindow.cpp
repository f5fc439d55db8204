// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/newprojectdialog.h"
#include "calculator/usersettings.h"
#include "calculator/windowhost.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <algorithm>
#include <memory>

using namespace zorvik;

namespace {

struct HookLog {
    QStringList calls;
};

// Records when the display steps run and what the main window looked like then.
class RecordingHooks : public DisplayHooks {
public:
    explicit RecordingHooks(HookLog *log) : m_log(log) {}
    void load(QWidget *mainWindow) override
    {
        m_main = mainWindow;
        m_log->calls << QStringLiteral("load visible=%1").arg(mainWindow->isVisible());
    }
    void unload() override
    {
        const auto *area = m_main->findChild<QMdiArea *>();
        int open = 0;
        for (QMdiSubWindow *sub : area->subWindowList())
            open += sub->isVisible() ? 1 : 0;
        m_log->calls << QStringLiteral("unload open=%1").arg(open);
    }

private:
    HookLog *m_log;
    QWidget *m_main = nullptr;
};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

QAction *action(QWidget *window, const QString &name)
{
    auto *found = window->findChild<QAction *>(name);
    if (!found)
        qFatal("no action %s", qPrintable(name));
    return found;
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void earlierSettingsAreTakenOver();

    void captionAndMenuBar();
    void menuItems_data();
    void menuItems();
    void startShowsDialog();
    void activationLoadsDialog();
    void closingAboutIsNoActivation_data();
    void closingAboutIsNoActivation();
    void startsMaximised();
    void newProjectKeepsOneDialog();
    void editCommands_data();
    void editCommands();
    void editKeysGoThroughCommands_data();
    void editKeysGoThroughCommands();
    void pasteBypassesKeyFilter_data();
    void pasteBypassesKeyFilter();
    void fieldMenuTakesTheWindowsEntries();
    void editOutsideTextFieldDoesNothing();
    void windowMenuListsChildren();
    void tilings_data();
    void tilings();
    void arrangeIcons();
    void cascade();
    void aboutBox();
    void nothingToPrint_data();
    void nothingToPrint();
    void displayStepsAroundLifetime_data();
    void displayStepsAroundLifetime();

private:
    QMdiSubWindow *addChild(const QString &title, QWidget *content = nullptr);
    QLineEdit *addField(const QString &text);

    MainWindow *m_window = nullptr;
    HookLog m_log;
};

void TestMainWindow::init()
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setQuitOnLastWindowClosed(false);
    m_log = {};
    m_window = new MainWindow(std::make_unique<RecordingHooks>(&m_log));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY(m_window->newProjectDialog());
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

QMdiSubWindow *TestMainWindow::addChild(const QString &title, QWidget *content)
{
    if (!content)
        content = new QWidget;
    content->setWindowTitle(title);
    QMdiSubWindow *sub = m_window->workArea()->addSubWindow(content);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(200, 150);
    sub->show();
    m_window->workArea()->setActiveSubWindow(sub);
    return sub;
}

QLineEdit *TestMainWindow::addField(const QString &text)
{
    auto *page = new QWidget;
    auto *field = new QLineEdit(text, page);
    field->setObjectName("txtfeed");
    new QLineEdit(page); // a second field, so the focus has somewhere else to be
    addChild("Calculator", page);
    field->setFocus();
    return field;
}

// First, before anything reads the settings: they are taken over once a run. The settings of
// earlier versions, in the settings' native file, are read into the calculator's own, and the
// native file is left for an earlier version still installed.
void TestMainWindow::earlierSettingsAreTakenOver()
{
    QSettings old(QSettings::NativeFormat, QSettings::UserScope, "zorvik", "zorvik-engineer");
    const QString kept = QFileInfo(old.fileName()).path() + "/zorvik-engineer.json";
    QFile::remove(kept);
    old.clear();
    old.setValue("recentJobs", QStringList{"/jobs/a b.zorvik", "/jobs/c,d.zorvik"});
    old.setValue("materials/lastGroup", 12);
    old.setValue("machines/1/name", "Lathe \"L\"");
    old.setValue("machines/size", 1);
    old.sync();
    const QByteArray before = contents(old.fileName());

    const QSettings store = calculator::userSettings();
    QCOMPARE(store.fileName(), kept);
    QCOMPARE(store.allKeys().size(), 4);
    QCOMPARE(store.value("recentJobs").toStringList(),
             QStringList({"/jobs/a b.zorvik", "/jobs/c,d.zorvik"}));
    QCOMPARE(store.value("materials/lastGroup").toInt(), 12);
    QCOMPARE(store.value("machines/1/name").toString(), QString("Lathe \"L\""));
    QCOMPARE(contents(old.fileName()), before);

    // A file broken by hand is written anew at the next change: what it held is kept beside it.
    const QByteArray broken = "{\"recentJobs\": [\"/jobs/a.zorvik\",";
    QFile::remove(kept + ".unreadable");
    {
        QFile file(kept);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(broken);
    }
    QSettings again = calculator::userSettings();
    again.setValue("materials/lastGroup", 3);
    calculator::keepSettings(again);
    QCOMPARE(contents(kept + ".unreadable"), broken);
}

void TestMainWindow::captionAndMenuBar()
{
    QCOMPARE(m_window->objectName(), QString("mdimain"));
    QCOMPARE(m_window->windowTitle(), QString("Zorvik - Machining Engineer"));
    QStringList titles;
    QStringList names;
    for (QAction *entry : m_window->menuBar()->actions()) {
        titles << entry->text();
        names << entry->menu()->objectName();
    }
    QCOMPARE(titles, QStringList({"&File", "&Edit", "&Window", "&Machine", "&Help"}));
    QCOMPARE(names, QStringList({"mnufile", "mnuedit", "mnuwindow", "mnumachine", "mnuhelp"}));
}

void TestMainWindow::menuItems_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("shortcuts");

    QTest::newRow("file") << "mnufile"
                          << QStringList{"mnunew",    "mnuopen",      "mnurecent",
                                         "mnusave",   "mnusaveas",    "mnuprint",
                                         "mnuexportpdf", "sep45",     "mnuexit"}
                          << QStringList{"New Project", "Open…",       "Open Recent",
                                         "Save",        "Save As…",    "Print…",
                                         "Export PDF…", "",            "Exit"}
                          << QStringList{"Ctrl+N", "Ctrl+O",       "", "Ctrl+S", "Ctrl+Shift+S",
                                         "Ctrl+P", "",             "", "Ctrl+Q"};
    QTest::newRow("edit") << "mnuedit" << QStringList{"mnucut", "mnucopy", "mnupaste"}
                          << QStringList{"Cut", "Copy", "Paste"}
                          << QStringList{"Ctrl+X", "Ctrl+C", "Ctrl+V"};
    QTest::newRow("window") << "mnuwindow"
                            << QStringList{"mnuhorizon", "mnuvertical", "mnucascade", "mnuicons",
                                           "mnureopen"}
                            << QStringList{"Tile Horizontally", "Tile Vertically", "Cascade",
                                           "Arrange Icons", "Reopen Closed Window"}
                            << QStringList{"", "", "", "", "Ctrl+Shift+T"};
    QTest::newRow("machine") << "mnumachine" << QStringList{"mnuchoosemachine", "mnumachines"}
                             << QStringList{"Choose Machine…", "Machines…"} << QStringList{"", ""};
    QTest::newRow("help") << "mnuhelp" << QStringList{"mnuabout"}
                          << QStringList{"About Zorvik-Engineer"} << QStringList{""};
}

void TestMainWindow::menuItems()
{
    QFETCH(QString, menu);
    QFETCH(QStringList, items);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, shortcuts);

    const QList<QAction *> actions = m_window->findChild<QMenu *>(menu)->actions();
    QVERIFY(actions.size() >= items.size());
    for (int i = 0; i < items.size(); ++i) {
        QCOMPARE(actions[i]->objectName(), items[i]);
        QCOMPARE(actions[i]->isSeparator(), items[i].startsWith("sep"));
        QCOMPARE(actions[i]->text(), captions[i]);
        QCOMPARE(actions[i]->shortcut().toString(QKeySequence::PortableText), shortcuts[i]);
    }
}

void TestMainWindow::startShowsDialog()
{
    const QList<QMdiSubWindow *> children = m_window->workArea()->subWindowList();
    QCOMPARE(children.size(), 1);
    QCOMPARE(children.first()->widget()->objectName(), QString("frmcutting1"));
    QCOMPARE(children.first()->windowTitle(), QString("New Project"));
    QVERIFY(children.first()->isVisible());
}

void TestMainWindow::activationLoadsDialog()
{
    m_window->newProjectDialog()->cancel();
    QTRY_VERIFY(!m_window->newProjectDialog());

    // Focus going to another application and coming back is not an activation.
    emit qApp->focusWindowChanged(nullptr);
    emit qApp->focusWindowChanged(m_window->windowHandle());
    QTest::qWait(10);
    QVERIFY(!m_window->newProjectDialog());

    // Coming back from another window of the application is.
    QWidget other;
    other.show();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QVERIFY(!m_window->newProjectDialog());
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY(m_window->newProjectDialog());
    QVERIFY(m_window->newProjectDialog()->isUnrolling());
}

void TestMainWindow::closingAboutIsNoActivation_data()
{
    QTest::addColumn<bool>("dialogOpen");
    QTest::newRow("dialog closed") << false;
    QTest::newRow("dialog behind a calculator") << true;
}

// The About box is part of the main window: closing it hands the focus back to the field that
// had it and loads nothing.
void TestMainWindow::closingAboutIsNoActivation()
{
    QFETCH(bool, dialogOpen);
    NewProjectDialog *dialog = m_window->newProjectDialog();
    if (!dialogOpen) {
        dialog->cancel();
        QTRY_VERIFY(!m_window->newProjectDialog());
    }
    QLineEdit *field = addField("150");
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QMdiSubWindow *calculator = m_window->workArea()->activeSubWindow();

    bool boxHadFocus = false;
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || QGuiApplication::focusWindow() != box->windowHandle())
            return;
        boxHadFocus = true;
        closer.stop();
        // As a window manager does, the focus goes straight back to the main window.
        m_window->activateWindow();
        box->accept();
    });
    closer.start(10);
    action(m_window, "mnuabout")->trigger();
    QVERIFY(boxHadFocus);
    QTRY_COMPARE(QGuiApplication::focusWindow(), m_window->windowHandle());
    QTest::qWait(20);
    QCOMPARE(m_window->newProjectDialog(), dialogOpen ? dialog : nullptr);
    QCOMPARE(m_window->workArea()->activeSubWindow(), calculator);
    QCOMPARE(QApplication::focusWidget(), field);
}

// Under a window manager the whole window, frame included, fits the screen.
void TestMainWindow::startsMaximised()
{
    QVERIFY(m_window->isMaximized());
    const QRect screen = m_window->screen()->availableGeometry();
    QVERIFY(screen.contains(m_window->frameGeometry()));
    QCOMPARE(m_window->size(), screen.size().shrunkBy(m_window->windowHandle()->frameMargins()));
}

void TestMainWindow::newProjectKeepsOneDialog()
{
    NewProjectDialog *dialog = m_window->newProjectDialog();
    addChild("Other");
    QTest::keyClick(m_window, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(m_window->newProjectDialog(), dialog);
    QCOMPARE(m_window->workArea()->activeSubWindow()->widget(), dialog);
    QCOMPARE(m_window->workArea()->subWindowList().size(), 2);

    dialog->cancel();
    QTRY_VERIFY(!m_window->newProjectDialog());
    action(m_window, "mnunew")->trigger();
    QVERIFY(m_window->newProjectDialog());
    QVERIFY(m_window->newProjectDialog() != dialog);
    QVERIFY(m_window->newProjectDialog()->isUnrolling());
}

void TestMainWindow::editCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selectionStart");
    QTest::addColumn<int>("selectionLength");
    QTest::addColumn<bool>("clipboardHasText");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedClipboard");

    QTest::newRow("copy selection") << "mnucopy"
                                    << "150.25" << 0 << 3 << true << "150.25"
                                    << "150";
    QTest::newRow("copy nothing selected empties clipboard") << "mnucopy"
                                                             << "150" << 1 << 0 << true << "150"
                                                             << "";
    QTest::newRow("cut selection") << "mnucut"
                                   << "150.25" << 3 << 3 << true << "150"
                                   << ".25";
    QTest::newRow("cut nothing selected") << "mnucut"
                                          << "150" << 2 << 0 << true << "150"
                                          << "";
    QTest::newRow("paste over selection") << "mnupaste"
                                          << "150.25" << 0 << 3 << true << "old.25"
                                          << "old";
    QTest::newRow("paste at caret") << "mnupaste"
                                    << "150" << 1 << 0 << true << "1old50"
                                    << "old";
    QTest::newRow("paste without text deletes selection") << "mnupaste"
                                                          << "150.25" << 3 << 3 << false << "150"
                                                          << "";
}

void TestMainWindow::editCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, text);
    QFETCH(int, selectionStart);
    QFETCH(int, selectionLength);
    QFETCH(bool, clipboardHasText);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedClipboard);

    QClipboard *clipboard = QGuiApplication::clipboard();
    if (clipboardHasText) {
        clipboard->setText("old");
    } else {
        auto *picture = new QMimeData;
        picture->setData("image/png", QByteArray("not text"));
        clipboard->setMimeData(picture);
    }
    QLineEdit *field = addField(text);
    QTRY_COMPARE(QApplication::focusWidget(), field);
    if (selectionLength > 0)
        field->setSelection(selectionStart, selectionLength);
    else
        field->setCursorPosition(selectionStart);

    action(m_window, command)->trigger();

    QCOMPARE(field->text(), expectedText);
    QCOMPARE(clipboard->text(), expectedClipboard);
}

void TestMainWindow::editKeysGoThroughCommands_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expectedText");
    QTest::addColumn<QString>("expectedClipboard");

    // A field's own Copy and Cut leave the clipboard alone when nothing is selected.
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << "150"
                            << "";
    QTest::newRow("Ctrl+X") << int(Qt::Key_X) << "150"
                            << "";
    QTest::newRow("Ctrl+V") << int(Qt::Key_V) << "1old50"
                            << "old";
}

void TestMainWindow::editKeysGoThroughCommands()
{
    QFETCH(int, key);
    QFETCH(QString, expectedText);
    QFETCH(QString, expectedClipboard);

    QGuiApplication::clipboard()->setText("old");
    QLineEdit *field = addField("150");
    QTRY_COMPARE(QApplication::focusWidget(), field);
    field->setCursorPosition(1);
    QTest::keyClick(field, Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(field->text(), expectedText);
    QCOMPARE(QGuiApplication::clipboard()->text(), expectedClipboard);
}

void TestMainWindow::pasteBypassesKeyFilter_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Ctrl+V") << "Ctrl+V";
    QTest::newRow("Shift+Insert") << "Shift+Ins";
    QTest::newRow("Edit > Paste") << "mnupaste";
    QTest::newRow("field menu") << "menu";
}

// Every way to paste inserts whatever the clipboard holds; a field's own paste would stop at
// its validator.
void TestMainWindow::pasteBypassesKeyFilter()
{
    QFETCH(QString, how);
    QLineEdit *field = addField("12");
    field->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), field));
    QTRY_COMPARE(QApplication::focusWidget(), field);
    QTest::keyClicks(field, "a-");
    QCOMPARE(field->text(), QString("12"));

    QGuiApplication::clipboard()->setText("-1e3 x");
    field->setCursorPosition(2);
    if (how == "mnupaste") {
        action(m_window, how)->trigger();
    } else if (how == "menu") {
        QTimer::singleShot(0, this, [] {
            auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            if (!menu)
                return;
            if (auto *paste = menu->findChild<QAction *>("paste"))
                paste->trigger();
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                field->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(field, &event);
    } else {
        const QKeyCombination key = QKeySequence(how)[0];
        QTest::keyClick(field, key.key(), key.keyboardModifiers());
    }
    QCOMPARE(field->text(), QString("12-1e3 x"));
}

namespace {
// A window with entries of its own in its fields' menus, as the calculator windows have.
class MenuExtendingPage : public QWidget, public zorvik::calculator::FieldMenuExtension {
public:
    void addFieldActions(QMenu *menu, QLineEdit *) override
    {
        menu->addAction("Own")->setObjectName("own");
    }
};
} // namespace

void TestMainWindow::fieldMenuTakesTheWindowsEntries()
{
    auto *page = new MenuExtendingPage;
    auto *field = new QLineEdit("12", page);
    addChild("Calculator", page);
    field->setFocus();
    QStringList offered;
    QTimer::singleShot(0, this, [&offered] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (const QAction *action : menu->actions())
            offered << action->objectName();
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                            field->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(field, &event);
    QVERIFY2(offered.contains("paste") && offered.endsWith("own"), qPrintable(offered.join(' ')));
}

void TestMainWindow::editOutsideTextFieldDoesNothing()
{
    auto *page = new QWidget;
    auto *button = new QPushButton("Calculate", page);
    addChild("Buttons", page);
    button->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), button);
    QGuiApplication::clipboard()->setText("kept");
    for (const char *name : {"mnucut", "mnucopy", "mnupaste"})
        action(m_window, name)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
    QCOMPARE(button->text(), QString("Calculate"));
}

void TestMainWindow::windowMenuListsChildren()
{
    QMdiSubWindow *alpha = addChild("Alpha");
    addChild("Beta & Co");
    auto *menu = m_window->findChild<QMenu *>("mnuwindow");
    emit menu->aboutToShow();

    QStringList listed;
    QAction *alphaEntry = nullptr;
    for (QAction *entry : menu->actions()) {
        if (entry->objectName().isEmpty() && !entry->isSeparator()) {
            listed << entry->text();
            if (entry->text().contains("Alpha"))
                alphaEntry = entry;
        }
    }
    QCOMPARE(listed, QStringList({"&1 New Project", "&2 Alpha", "&3 Beta && Co"}));
    for (QAction *entry : menu->actions()) {
        if (!entry->objectName().isEmpty() || entry->isSeparator())
            continue;
        QCOMPARE(entry->isChecked(), entry->text().contains("Beta"));
    }

    alpha->showMinimized();
    alphaEntry->trigger();
    QCOMPARE(m_window->workArea()->activeSubWindow(), alpha);
    QVERIFY(!alpha->isMinimized());

    // Rebuilt on every opening: nothing is listed twice and closed windows drop out.
    alpha->close();
    emit menu->aboutToShow();
    listed.clear();
    for (QAction *entry : menu->actions()) {
        if (entry->objectName().isEmpty() && !entry->isSeparator())
            listed << entry->text();
    }
    QCOMPARE(listed, QStringList({"&1 New Project", "&2 Beta && Co"}));
}

void TestMainWindow::tilings_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("oneAboveTheOther");
    QTest::newRow("tile horizontally") << "mnuhorizon" << true;
    QTest::newRow("tile vertically") << "mnuvertical" << false;
}

void TestMainWindow::tilings()
{
    QFETCH(QString, command);
    QFETCH(bool, oneAboveTheOther);

    m_window->newProjectDialog()->cancel();
    QTRY_VERIFY(!m_window->newProjectDialog());
    for (const char *title : {"One", "Two", "Three"})
        addChild(title);
    action(m_window, command)->trigger();

    const QSize space = m_window->workArea()->viewport()->size();
    QList<QRect> tiles;
    for (QMdiSubWindow *sub : m_window->workArea()->subWindowList())
        tiles << sub->geometry();
    QCOMPARE(tiles.size(), 3);
    std::sort(tiles.begin(), tiles.end(),
              [](const QRect &a, const QRect &b) { return a.y() + a.x() < b.y() + b.x(); });
    int next = 0;
    for (const QRect &tile : tiles) {
        if (oneAboveTheOther) {
            QCOMPARE(tile.x(), 0);
            QCOMPARE(tile.width(), space.width());
            QCOMPARE(tile.y(), next);
            QVERIFY(qAbs(tile.height() - space.height() / 3) <= 1);
            next = tile.bottom() + 1;
        } else {
            QCOMPARE(tile.y(), 0);
            QCOMPARE(tile.height(), space.height());
            QCOMPARE(tile.x(), next);
            QVERIFY(qAbs(tile.width() - space.width() / 3) <= 1);
            next = tile.right() + 1;
        }
    }
    QCOMPARE(next, oneAboveTheOther ? space.height() : space.width());
    // The active window takes the first band.
    QCOMPARE(m_window->workArea()->activeSubWindow()->geometry().topLeft(), QPoint(0, 0));
}

void TestMainWindow::arrangeIcons()
{
    QMdiSubWindow *first = addChild("First");
    QMdiSubWindow *open = addChild("Open");
    QMdiSubWindow *second = addChild("Second");
    first->showMinimized();
    second->showMinimized();
    first->move(300, 20);
    second->move(40, 200);
    action(m_window, "mnuicons")->trigger();

    const int bottom = m_window->workArea()->viewport()->height();
    QCOMPARE(first->geometry().bottom() + 1, bottom);
    QCOMPARE(second->geometry().bottom() + 1, bottom);
    QCOMPARE(first->x(), 0);
    QCOMPARE(second->x(), first->width());
    QCOMPARE(open->geometry().size(), QSize(200, 150));

    // Tiling leaves the icon row free.
    action(m_window, "mnuhorizon")->trigger();
    for (QMdiSubWindow *sub : m_window->workArea()->subWindowList()) {
        if (!sub->isMinimized())
            QVERIFY(sub->geometry().bottom() < first->y());
    }
}

void TestMainWindow::cascade()
{
    for (const char *title : {"One", "Two"})
        addChild(title)->move(0, 0);
    QList<QSize> sizes;
    for (QMdiSubWindow *sub : m_window->workArea()->subWindowList(QMdiArea::StackingOrder))
        sizes << sub->size();
    action(m_window, "mnucascade")->trigger();
    QList<QPoint> corners;
    for (QMdiSubWindow *sub : m_window->workArea()->subWindowList(QMdiArea::StackingOrder)) {
        corners << sub->pos();
        // The windows are fixed designs: a cascade moves them and keeps their size.
        QCOMPARE(sub->size(), sizes.takeFirst());
    }
    QCOMPARE(corners.size(), 3);
    for (int i = 1; i < corners.size(); ++i) {
        QVERIFY(corners[i].x() > corners[i - 1].x());
        QVERIFY(corners[i].y() > corners[i - 1].y());
    }
}

// The version is the one the program was started with, as --version prints it.
void TestMainWindow::aboutBox()
{
    QApplication::setApplicationVersion("3.14.2");
    QString title;
    QString text;
    QString shown;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        title = box->windowTitle();
        text = box->text();
        for (const QLabel *label : box->findChildren<QLabel *>())
            shown += label->text() + '\n';
        buttons = box->standardButtons();
        box->accept();
    });
    action(m_window, "mnuabout")->trigger();
    QCOMPARE(title, QString("Zorvik - Machining Engineer"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(text.split('\n').size(), 2);
    QVERIFY2(shown.contains("3.14.2"), qPrintable(shown));
}

void TestMainWindow::nothingToPrint_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("Print") << "mnuprint";
    QTest::newRow("Export PDF") << "mnuexportpdf";
}

// With no calculator window, the File menu shows both entries disabled, and the key (or the
// entry triggered anyway) says why nothing is printed rather than opening a dialog.
void TestMainWindow::nothingToPrint()
{
    QFETCH(QString, command);
    auto *file = m_window->findChild<QMenu *>("mnufile");
    emit file->aboutToShow();
    QVERIFY(!action(m_window, command)->isEnabled());
    emit file->aboutToHide();
    QVERIFY(action(m_window, command)->isEnabled());
    QString shown;
    QTimer::singleShot(0, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        shown = modal->objectName();
        modal->close();
    });
    action(m_window, command)->trigger();
    QCOMPARE(shown, QString("nothingToPrint"));
}

void TestMainWindow::displayStepsAroundLifetime_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("close box") << "close";
    QTest::newRow("Exit") << "mnuexit";
}

void TestMainWindow::displayStepsAroundLifetime()
{
    QFETCH(QString, how);
    addChild("Calculator");
    if (how == "close")
        m_window->close();
    else
        action(m_window, how)->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(m_log.calls, QStringList({"load visible=0", "unload open=0"}));
    m_window->close();
    QCOMPARE(m_log.calls.size(), 2);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
