// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "calculator/twips.h"

#include <QAction>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTabBar>

using zorvik::calculator::ButtonLabel;
using zorvik::calculator::CalculatorWindow;

namespace {

const QStringList roughingLabels{"command1", "command2", "command5", "command3", "command4"};
const QStringList finishingLabels{"fcommand1", "fcommand2", "fcommand5", "fcommand3", "fcommand4"};
const QStringList defaultFields{"txtinlet", "txtoutlet", "txtnoc"};

// Fills every field of the window with a text of its own, so any change shows.
void fillAll(QWidget *window)
{
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        field->setText(field->objectName().startsWith('f') ? "7" : "3");
}

} // namespace

class TestCalculatorWindow : public WindowSuite {
    Q_OBJECT

private slots:
    void init();

    void keyFilter_data();
    void keyFilter();
    void editingKeysWork();
    void pageKeys_data();
    void pageKeys();
    void enterRunsShownCalculate_data();
    void enterRunsShownCalculate();
    void calculateWritesOnlyBlanks();
    void textsUtf8CannotCarryStay_data();
    void textsUtf8CannotCarryStay();
    void reset_data();
    void reset();
    void import_data();
    void import();
    void importFillsBlankPage();
    void leaving_data();
    void leaving();
    void hover_data();
    void hover();
    void labelLightsUnderPointer();
    void editKeysGoThroughMenu_data();
    void editKeysGoThroughMenu();
    void fieldMenuGoesThroughCommands_data();
    void fieldMenuGoesThroughCommands();
    void editingCanBeUndone_data();
    void editingCanBeUndone();
    void longPasteIsWhole();
    void doubleClickRunsOnce_data();
    void doubleClickRunsOnce();

private:
    CalculatorWindow *m_window = nullptr;
};

void TestCalculatorWindow::init()
{
    m_driver = std::make_unique<WindowDriver>();
    m_window = m_driver->open("frmlong");
    QVERIFY(m_window);
}

void TestCalculatorWindow::keyFilter_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("modifiers"); // held while typing

    QTest::newRow("digits and point") << "txtfeed"
                                      << "0.25"
                                      << "0.25" << 0;
    QTest::newRow("letters refused") << "txtfeed"
                                     << "1a2Bz"
                                     << "12" << 0;
    QTest::newRow("minus refused") << "txtidiam"
                                   << "-5"
                                   << "5" << 0;
    QTest::newRow("space refused") << "txtidiam"
                                   << "4 5"
                                   << "45" << 0;
    QTest::newRow("comma is the point") << "txtidiam"
                                        << "4,5"
                                        << "4.5" << 0;
    QTest::newRow("exponent refused") << "txtmrr"
                                      << "1e5"
                                      << "15" << 0;
    QTest::newRow("plus refused") << "txtmrr"
                                  << "+15"
                                  << "15" << 0;
    QTest::newRow("two points accepted") << "txtidiam"
                                         << "1..2"
                                         << "1..2" << 0;
    QTest::newRow("specific power keeps its point") << "txtspcp"
                                                    << "1,5"
                                                    << "1.5" << 0;
    QTest::newRow("finishing specific power") << "ftxtspcp"
                                              << "0.5"
                                              << "0.5" << 0;
    QTest::newRow("finishing field") << "ftxtcf"
                                     << "x12.5%"
                                     << "12.5" << 0;
    QTest::newRow("default field") << "txtnoc"
                                   << "2;"
                                   << "2" << 0;
    // Ctrl+Alt is AltGr on many keyboards: it types "@" or "\\" like any other key.
    QTest::newRow("AltGr character refused") << "txtfeed"
                                             << "1@\\2"
                                             << "12" << int(Qt::ControlModifier | Qt::AltModifier);
    QTest::newRow("soft hyphen refused") << "txtcf"
                                         << "4\u00AD5"
                                         << "45" << 0;
}

void TestCalculatorWindow::keyFilter()
{
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, expected);
    QFETCH(int, modifiers);

    showPage(m_window, field.startsWith('f') ? 1 : 0);
    typeInto(m_window, field, keys, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(fieldOf(m_window, field)->text(), expected);
}

void TestCalculatorWindow::editingKeysWork()
{
    QLineEdit *field = fieldOf(m_window, "txtspcp");
    typeInto(m_window, "txtspcp", "12345");
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClick(field, Qt::Key_Home);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClick(field, Qt::Key_End);
    QTest::keyClicks(field, "9");
    QCOMPARE(field->text(), QString("2359"));
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(field->selectedText(), QString("2359"));
    QTest::keyClick(field, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() && QApplication::focusWidget() != field);
}

void TestCalculatorWindow::pageKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("page");
    QTest::newRow("Ctrl+PageDown") << int(Qt::Key_PageDown) << int(Qt::ControlModifier) << 1;
    QTest::newRow("Ctrl+PageUp") << int(Qt::Key_PageUp) << int(Qt::ControlModifier) << 1;
    QTest::newRow("PageDown alone") << int(Qt::Key_PageDown) << int(Qt::NoModifier) << 0;
}

// Keyboard users reach the finishing page without the mouse.
void TestCalculatorWindow::pageKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, page);

    typeInto(m_window, "txtcf", "8");
    QTest::keyClick(fieldOf(m_window, "txtcf"), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_window->shownPage(), page);
    QCOMPARE(fieldOf(m_window, "txtcf")->text(), QString("8"));
}

void TestCalculatorWindow::enterRunsShownCalculate_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

// Enter runs the Calculate of the page in front, never one the user cannot see.
void TestCalculatorWindow::enterRunsShownCalculate()
{
    QFETCH(int, key);

    typeInto(m_window, "txtrpm", "1000");
    typeInto(m_window, "txtfeed", "0.25");
    showPage(m_window, 1);
    typeInto(m_window, "ftxtrpm", "400");
    typeInto(m_window, "ftxtfeed", "0.5");
    QTest::keyClick(fieldOf(m_window, "ftxtfeed"), Qt::Key(key));
    QCOMPARE(fieldOf(m_window, "txtfrate")->text(), QString());
    QCOMPARE(fieldOf(m_window, "ftxtfrate")->text(), QString("200"));
    QCOMPARE(fieldOf(m_window, "ftxtfeed")->text(), QString("0.5"));
    QCOMPARE(m_window->shownPage(), 1);
}

// A solve never touches a field that holds text, malformed or not.
void TestCalculatorWindow::calculateWritesOnlyBlanks()
{
    typeInto(m_window, "txtrpm", "1000");
    typeInto(m_window, "txtfeed", "0.25");
    typeInto(m_window, "txtfrate", "1..2");
    typeInto(m_window, "txtnoc", "");
    typeInto(m_window, "txtmtime", "2");
    QTest::mouseClick(labelOf(m_window, "command1"), Qt::LeftButton);
    // Not even rewritten with the same text: the field being edited keeps its cursor.
    QCOMPARE(fieldOf(m_window, "txtmtime")->cursorPosition(), 1);
    QCOMPARE(fieldOf(m_window, "txtfrate")->text(), QString("1..2"));
    QCOMPARE(fieldOf(m_window, "txtnoc")->text(), QString());
    QCOMPARE(fieldOf(m_window, "txtrpm")->text(), QString("1000"));

    typeInto(m_window, "txtfrate", "");
    QTest::mouseClick(labelOf(m_window, "command1"), Qt::LeftButton);
    QCOMPARE(fieldOf(m_window, "txtfrate")->text(), QString("250"));
    QCOMPARE(fieldOf(m_window, "txtnoc")->text(), QString("125"));
}

// A pasted lone surrogate does not survive the trip through the solver's UTF-8 store; the
// field must keep it rather than take back the replacement, on Calculate and on a leave step.
void TestCalculatorWindow::textsUtf8CannotCarryStay_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("step"); // "Calculate", or the field whose leave step runs

    const QString high(QChar(0xD800));
    const QString low(QChar(0xDC00));
    QTest::newRow("high surrogate, Calculate") << "Option1"
                                               << "frmlong" << high << "Calculate";
    QTest::newRow("digits and low surrogate, Calculate")
        << "Option12"
        << "frmmill" << QString("12" + low) << "Calculate";
    QTest::newRow("pair reversed, Calculate") << "Option23"
                                              << "frmshape" << QString(low + high) << "Calculate";
    QTest::newRow("high surrogate, drilling leave step")
        << "Option7"
        << "frmdrill" << QString(high + "3") << "txtfdiam";
}

void TestCalculatorWindow::textsUtf8CannotCarryStay()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(QString, pasted);
    QFETCH(QString, step);

    CalculatorWindow *calculator = m_driver->open(qPrintable(window));
    QVERIFY(calculator);
    // A roughing field, the page Enter solves.
    const auto &fields = calculator->design().fields;
    QLineEdit *target = fieldOf(calculator, fields[fields.size() / 2].name);
    target->setFocus();
    QApplication::clipboard()->setText(pasted);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(target->text(), pasted);

    if (step == "Calculate") {
        QTest::keyClick(target, Qt::Key_Return);
    } else {
        typeInto(calculator, "txtidiam", "10");
        typeInto(calculator, step, "25");
        fieldOf(calculator, "txtidiam")->setFocus();
        QCOMPARE(fieldOf(calculator, "txtfdiam2")->text(), QString("15"));
    }
    QCOMPARE(target->text(), pasted);
}

void TestCalculatorWindow::reset_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("cleared"); // prefix of the page Reset clears
    QTest::newRow("roughing") << "command2"
                              << "";
    QTest::newRow("finishing") << "fcommand2"
                               << "f";
}

void TestCalculatorWindow::reset()
{
    QFETCH(QString, label);
    QFETCH(QString, cleared);

    fillAll(m_window);
    showPage(m_window, cleared.isEmpty() ? 0 : 1);
    QTest::mouseClick(labelOf(m_window, label), Qt::LeftButton);

    int blank = 0;
    for (QLineEdit *field : m_window->findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        const bool onPage = cleared.isEmpty() ? !name.startsWith('f') : name.startsWith('f');
        const QString base = onPage ? name.mid(cleared.size()) : QString();
        QString expected = name.startsWith('f') ? "7" : "3";
        if (onPage)
            expected = base == "txtnoc" ? "1" : defaultFields.contains(base) ? "2" : "";
        QCOMPARE(field->text(), expected);
        blank += field->text().isEmpty() ? 1 : 0;
    }
    QCOMPARE(blank, 23);
}

void TestCalculatorWindow::import_data()
{
    QTest::addColumn<QString>("label");
    QTest::addColumn<QStringList>("before"); // name=text, every other field blank
    QTest::addColumn<QStringList>("after");  // the fields whose text Import changes

    QTest::newRow("into finishing")
        << "fcommand5" << QStringList{"txtidiam=50", "ftxtfdiam=45"} << QStringList{"ftxtidiam=50"};
    QTest::newRow("into roughing")
        << "command5" << QStringList{"ftxtidiam=50", "txtfdiam=45", "ftxtfdiam=41"}
        << QStringList{"txtidiam=50"};
    QTest::newRow("malformed copied as is")
        << "command5" << QStringList{"ftxtcp=1..2"} << QStringList{"txtcp=1..2"};
    QTest::newRow("blank source copies nothing")
        << "fcommand5" << QStringList{"ftxtcf=10"} << QStringList{};
    QTest::newRow("defaults kept")
        << "fcommand5" << QStringList{"txtnoc=4", "ftxtmp=5"} << QStringList{};
}

void TestCalculatorWindow::import()
{
    QFETCH(QString, label);
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);

    QHash<QString, QString> expected;
    for (QLineEdit *field : m_window->findChildren<QLineEdit *>()) {
        if (!defaultFields.contains(field->objectName().remove(QRegularExpression("^f"))))
            field->clear();
        expected.insert(field->objectName(), field->text());
    }
    for (const QString &entry : before) {
        fieldOf(m_window, entry.section('=', 0, 0))->setText(entry.section('=', 1));
        expected.insert(entry.section('=', 0, 0), entry.section('=', 1));
    }
    for (const QString &entry : after)
        expected.insert(entry.section('=', 0, 0), entry.section('=', 1));
    showPage(m_window, label.startsWith('f') ? 1 : 0);
    QTest::mouseClick(labelOf(m_window, label), Qt::LeftButton);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(fieldOf(m_window, it.key())->text(), it.value());
}

// After a roughing solve, Import on an untouched finishing page brings every roughing text
// across except the three defaults, which are not blank there.
void TestCalculatorWindow::importFillsBlankPage()
{
    fillAll(m_window);
    for (QLineEdit *field : m_window->findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        if (name.startsWith('f') && !defaultFields.contains(name.mid(1)))
            field->clear();
    }
    showPage(m_window, 1);
    QTest::mouseClick(labelOf(m_window, "fcommand5"), Qt::LeftButton);
    for (QLineEdit *field : m_window->findChildren<QLineEdit *>()) {
        const QString name = field->objectName();
        const bool keepsOwn = name.startsWith('f') && defaultFields.contains(name.mid(1));
        QCOMPARE(field->text(), QString(keepsOwn ? "7" : "3"));
    }
}

void TestCalculatorWindow::leaving_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("dialogShown");
    QTest::newRow("Back") << "command3" << true;
    QTest::newRow("finishing Back") << "fcommand3" << true;
    QTest::newRow("Esc") << "Esc" << true;
    QTest::newRow("Esc on finishing page") << "fEsc" << true;
    QTest::newRow("Cancel") << "command4" << false;
    QTest::newRow("finishing Cancel") << "fcommand4" << false;
}

void TestCalculatorWindow::leaving()
{
    QFETCH(QString, how);
    QFETCH(bool, dialogShown);

    typeInto(m_window, "txtidiam", "50");
    showPage(m_window, how.startsWith('f') ? 1 : 0);
    if (how.endsWith("Esc"))
        QTest::keyClick(fieldOf(m_window, how.startsWith('f') ? "ftxtcf" : "txtcf"),
                        Qt::Key_Escape);
    else
        QTest::mouseClick(labelOf(m_window, how), Qt::LeftButton);

    QTRY_VERIFY(!m_driver->window("frmlong"));
    QCOMPARE(m_driver->dialog() != nullptr, dialogShown);
    if (dialogShown) {
        QVERIFY(m_driver->dialog()->isVisible());
        QCOMPARE(m_driver->main()->workArea()->activeSubWindow(),
                 m_driver->dialog()->parentWidget());
    }
    // The texts went with the window: it opens with the defaults again.
    CalculatorWindow *again = m_driver->open("frmlong");
    QVERIFY(again);
    QCOMPARE(fieldOf(again, "txtidiam")->text(), QString());
    QCOMPARE(fieldOf(again, "txtnoc")->text(), QString("1"));
}

void TestCalculatorWindow::hover_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("surface"); // "" for the window's own background
    QTest::addColumn<QStringList>("restored");

    QStringList background = roughingLabels + finishingLabels;
    background.removeAll("command5");
    background.removeAll("fcommand5");
    QTest::newRow("window background") << 0 << "" << background;
    QTest::newRow("tab control") << 0 << "t1" << roughingLabels + finishingLabels;
    QTest::newRow("tab strip") << 1 << "tabs" << roughingLabels + finishingLabels;
    QTest::newRow("parameters frame") << 0 << "Frame2" << roughingLabels;
    QTest::newRow("button frame") << 0 << "Frame3" << roughingLabels;
    QTest::newRow("finishing parameters") << 1 << "fFrame2" << finishingLabels;
    QTest::newRow("finishing buttons") << 1 << "fFrame3" << finishingLabels;
    QTest::newRow("work-piece frame") << 0 << "Frame1" << QStringList{};
    QTest::newRow("field") << 0 << "txtcspeed" << QStringList{};
    QTest::newRow("caption") << 1 << "caption" << QStringList{};
}

void TestCalculatorWindow::hover()
{
    QFETCH(int, page);
    QFETCH(QString, surface);
    QFETCH(QStringList, restored);

    showPage(m_window, page);
    const QList<zorvik::calculator::ButtonLabel *> labels =
        m_window->findChildren<zorvik::calculator::ButtonLabel *>();
    QCOMPARE(labels.size(), 10);
    for (zorvik::calculator::ButtonLabel *label : labels)
        label->setLit(true);

    QWidget *target = m_window;
    QPoint at(2, 2);
    if (surface == "tabs") {
        target = m_window->findChild<QTabBar *>();
        at = QPoint(target->width() / 2, target->height() / 2);
    } else if (surface == "caption") {
        target = fieldOf(m_window, "ftxtcspeed")
                     ->parentWidget()
                     ->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        at = QPoint(5, 5);
    } else if (!surface.isEmpty()) {
        target = m_window->findChild<QWidget *>(surface);
        at = QPoint(target->width() - 3, target->height() - 3);
        if (surface == "t1") { // between the two lower frames, on the page
            target = m_window->findChild<QWidget *>("Frame2")->parentWidget();
            at = QPoint(target->width() / 2, zorvik::calculator::twips::toPixels(6200));
        }
    }
    QVERIFY(target && target->isVisible());
    QWidget *under = m_window->childAt(target->mapTo(m_window, at));
    QCOMPARE(under, target == m_window ? nullptr : target);
    QTest::mouseMove(target, at);

    for (zorvik::calculator::ButtonLabel *label : labels) {
        const bool normal = restored.contains(label->objectName());
        QTRY_COMPARE(label->colour(), QColor(normal ? 0xC0C0C0 : 0xE0E0E0));
    }
}

void TestCalculatorWindow::labelLightsUnderPointer()
{
    zorvik::calculator::ButtonLabel *reset = labelOf(m_window, "command2");
    QTest::mouseMove(reset, QPoint(5, 5));
    QTRY_COMPARE(reset->colour(), QColor(0xE0E0E0));
    QCOMPARE(labelOf(m_window, "command1")->colour(), QColor(0xC0C0C0));
    // Moving on to the next label lights it too; the first stays lit until a surface restores it.
    QTest::mouseMove(labelOf(m_window, "command5"), QPoint(5, 5));
    QTRY_COMPARE(labelOf(m_window, "command5")->colour(), QColor(0xE0E0E0));
    QCOMPARE(reset->colour(), QColor(0xE0E0E0));
    QTest::mouseMove(m_window->findChild<QWidget *>("Frame3"), QPoint(3, 3));
    QTRY_COMPARE(reset->colour(), QColor(0xC0C0C0));
}

void TestCalculatorWindow::editKeysGoThroughMenu_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("fieldAfter");

    const int ctrl = Qt::ControlModifier;
    const int shift = Qt::ShiftModifier;
    // The field holds "12.5" and the clipboard "a-b" before the key.
    QTest::newRow("copy, nothing selected") << "mnucopy" << int(Qt::Key_C) << ctrl << false << ""
                                            << "12.5";
    QTest::newRow("copy selection") << "mnucopy" << int(Qt::Key_C) << ctrl << true << "12.5"
                                    << "12.5";
    QTest::newRow("cut selection") << "mnucut" << int(Qt::Key_X) << ctrl << true << "12.5"
                                   << "";
    QTest::newRow("paste, unfiltered") << "mnupaste" << int(Qt::Key_V) << ctrl << false << "a-b"
                                       << "12.5a-b";
    QTest::newRow("Ctrl+Insert, nothing selected")
        << "mnucopy" << int(Qt::Key_Insert) << ctrl << false << ""
        << "12.5";
    QTest::newRow("Shift+Delete, nothing selected")
        << "mnucut" << int(Qt::Key_Delete) << shift << false << ""
        << "12.5";
    QTest::newRow("Shift+Delete selection")
        << "mnucut" << int(Qt::Key_Delete) << shift << true << "12.5"
        << "";
    QTest::newRow("Shift+Insert, unfiltered")
        << "mnupaste" << int(Qt::Key_Insert) << shift << false << "a-b"
        << "12.5a-b";
}

void TestCalculatorWindow::editKeysGoThroughMenu()
{
    QFETCH(QString, action);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, selectAll);
    QFETCH(QString, clipboardAfter);
    QFETCH(QString, fieldAfter);

    auto *command = m_driver->main()->findChild<QAction *>(action);
    QVERIFY(command);
    QSignalSpy triggered(command, &QAction::triggered);
    QGuiApplication::clipboard()->setText("a-b");
    QLineEdit *field = fieldOf(m_window, "txtfeed");
    typeInto(m_window, "txtfeed", "12.5");
    if (selectAll)
        field->selectAll();
    QTest::keyClick(field, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(triggered.count(), 1);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(field->text(), fieldAfter);
}

void TestCalculatorWindow::fieldMenuGoesThroughCommands_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("clipboardAfter");
    QTest::addColumn<QString>("fieldAfter");

    // The field holds "12.5" with ".5" selected, and the clipboard "a-b".
    QTest::newRow("Cut") << "cut"
                         << ".5"
                         << "12";
    QTest::newRow("Copy") << "copy"
                          << ".5"
                          << "12.5";
    QTest::newRow("Paste, unfiltered") << "paste"
                                       << "a-b"
                                       << "12a-b";
    QTest::newRow("Delete") << "delete"
                            << "a-b"
                            << "12";
}

// The field's context menu acts as the Edit menu does, and what it changes can be undone.
void TestCalculatorWindow::fieldMenuGoesThroughCommands()
{
    QFETCH(QString, item);
    QFETCH(QString, clipboardAfter);
    QFETCH(QString, fieldAfter);

    QGuiApplication::clipboard()->setText("a-b");
    QLineEdit *field = fieldOf(m_window, "txtfeed");
    typeInto(m_window, "txtfeed", "12.5");
    field->setSelection(2, 2);

    bool chosen = false;
    QTimer chooser;
    connect(&chooser, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        chooser.stop();
        if (auto *action = menu->findChild<QAction *>(item)) {
            chosen = action->isEnabled();
            action->trigger();
        }
        menu->close();
    });
    chooser.start(10);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            field->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(field, &event);

    QVERIFY(chosen);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboardAfter);
    QCOMPARE(field->text(), fieldAfter);
    if (fieldAfter != "12.5") {
        field->undo();
        QCOMPARE(field->text(), QString("12.5"));
    }
}

void TestCalculatorWindow::editingCanBeUndone_data()
{
    QTest::addColumn<QString>("how"); // an Edit command, or a key with Shift
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("changed");

    // The field holds "12.5" with ".5" selected.
    QTest::newRow("Edit > Cut") << "mnucut"
                                << "a-b"
                                << "12";
    QTest::newRow("Edit > Paste") << "mnupaste"
                                  << "a-b"
                                  << "12a-b";
    QTest::newRow("Shift+Delete") << "Delete"
                                  << "a-b"
                                  << "12";
    QTest::newRow("Shift+Insert") << "Insert"
                                  << "a-b"
                                  << "12a-b";
    const QString longText = QString("1.5x").repeated(5000);
    QTest::newRow("Edit > Paste, long") << "mnupaste" << longText << "12" + longText;
}

// Ctrl+Z takes a cut or a paste back, and Ctrl+Y does it again.
void TestCalculatorWindow::editingCanBeUndone()
{
    QFETCH(QString, how);
    QFETCH(QString, clipboard);
    QFETCH(QString, changed);

    QGuiApplication::clipboard()->setText(clipboard);
    QLineEdit *field = fieldOf(m_window, "txtfeed");
    typeInto(m_window, "txtfeed", "12.5");
    field->setSelection(2, 2);
    if (how.startsWith("mnu"))
        m_driver->main()->findChild<QAction *>(how)->trigger();
    else
        QTest::keyClick(field, how == "Delete" ? Qt::Key_Delete : Qt::Key_Insert,
                        Qt::ShiftModifier);
    QVERIFY(field->text() == changed);
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(field->text(), QString("12.5"));
    QTest::keyClick(field, Qt::Key_Y, Qt::ControlModifier);
    QVERIFY(field->text() == changed);
}

// A paste of any length arrives whole, and Calculate then treats the field as any text that is
// no number: the page comes out as with "x" in its place.
void TestCalculatorWindow::longPasteIsWhole()
{
    const QString longText = QString("1.5x").repeated(2'500'000);
    QGuiApplication::clipboard()->setText(longText);
    const QStringList typed{"txtidiam=50", "txtfdiam=40",  "txtlen=100",  "txtangle=90",
                            "txtfeed=0.2", "txtspcf=2000", "txteeff=0.9", "txtmeff=0.8"};
    for (const QString &entry : typed)
        typeInto(m_window, entry.section('=', 0, 0), entry.section('=', 1));
    QLineEdit *field = fieldOf(m_window, "txtcspeed");
    field->setFocus();
    m_driver->main()->findChild<QAction *>("mnupaste")->trigger();
    QCOMPARE(field->text().size(), longText.size());
    QVERIFY(field->text() == longText);
    QTest::mouseClick(labelOf(m_window, "command1"), Qt::LeftButton);
    QHash<QString, QString> withLongText;
    for (QLineEdit *edit : m_window->findChildren<QLineEdit *>())
        withLongText.insert(edit->objectName(), edit->text());
    QVERIFY(withLongText["txtcspeed"] == longText);

    m_window->reset(0);
    for (const QString &entry : typed)
        typeInto(m_window, entry.section('=', 0, 0), entry.section('=', 1));
    typeInto(m_window, "txtcspeed", "");
    field->insert("x");
    QTest::mouseClick(labelOf(m_window, "command1"), Qt::LeftButton);
    // The long text solves as "x" does; some results still come from the other fields.
    QVERIFY(!fieldOf(m_window, "txtdoc")->text().isEmpty());
    for (QLineEdit *edit : m_window->findChildren<QLineEdit *>()) {
        if (edit != field)
            QCOMPARE(edit->text(), withLongText[edit->objectName()]);
    }
}

void TestCalculatorWindow::doubleClickRunsOnce_data()
{
    QTest::addColumn<QString>("clicks");
    QTest::addColumn<int>("runs");
    QTest::newRow("click") << "click" << 1;
    QTest::newRow("double click") << "double" << 1;
    QTest::newRow("double click, then a click") << "double click" << 2;
    QTest::newRow("two clicks") << "click click" << 2;
}

// Mouse events go in at the window, so Qt itself turns a quick second press into a double click
// as it does for a user.
void TestCalculatorWindow::doubleClickRunsOnce()
{
    QFETCH(QString, clicks);
    QFETCH(int, runs);
    zorvik::calculator::ButtonLabel *label = labelOf(m_window, "command2");
    QSignalSpy clicked(label, &zorvik::calculator::ButtonLabel::clicked);
    QWindow *window = m_driver->main()->windowHandle();
    const QPoint at = label->mapTo(m_driver->main(), label->rect().center());
    for (const QString &click : clicks.split(' ')) {
        if (click == "double")
            QTest::mouseDClick(window, Qt::LeftButton, {}, at);
        else
            QTest::mouseClick(window, Qt::LeftButton, {}, at);
    }
    QCOMPARE(clicked.count(), runs);
}

QTEST_MAIN(TestCalculatorWindow)
#include "test_calculatorwindow.moc"
