// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include <QLabel>
#include <QSignalSpy>

using zorvik::calculator::ButtonLabel;
using zorvik::calculator::CalculatorWindow;

namespace {

const QStringList diameters{"txtidiam", "txtfdiam", "txtfdiam2"};

// Runs what the user does, one step each: "name=text" clicks into the field (so the field that
// had the focus loses it) and types the text over its contents; "name" only clicks it, and
// may find it locked by what the click left; "Tab" and "Backtab" press Tab and Shift+Tab where
// the focus is.
void act(CalculatorWindow *window, const QStringList &steps)
{
    for (const QString &step : steps) {
        if (step == "Tab" || step == "Backtab") {
            QWidget *focused = QApplication::focusWidget();
            QVERIFY(focused);
            QTest::keyClick(focused, Qt::Key_Tab,
                            step == "Tab" ? Qt::NoModifier : Qt::ShiftModifier);
            continue;
        }
        const qsizetype split = step.indexOf('=');
        QLineEdit *field = fieldOf(window, step.left(split));
        QVERIFY2(field->isEnabled(), qPrintable(step));
        QTest::mouseClick(field, Qt::LeftButton);
        if (split < 0)
            continue;
        QCOMPARE(QApplication::focusWidget(), field);
        typeInto(window, field->objectName(), step.mid(split + 1));
    }
}

// The enabled state of the three diameter fields, "y" or "n" each, in the order above.
QString enabledDiameters(CalculatorWindow *window)
{
    QString states;
    for (const QString &name : diameters)
        states += fieldOf(window, name)->isEnabled() ? 'y' : 'n';
    return states;
}

} // namespace

class TestDrillTaperWindows : public WindowSuite {
    Q_OBJECT

private slots:

    void holeDiameter_data();
    void holeDiameter();
    void firstTabLeavesTheInitialDiameter();
    void focusPassesLockedFields_data();
    void focusPassesLockedFields();
    void enlargementIsCalculated_data();
    void enlargementIsCalculated();
    void resetUnlocksTheDiameters_data();
    void resetUnlocksTheDiameters();
    void keyFilter_data();
    void keyFilter();
    void hover_data();
    void hover();
    void doubleClickCalculatesOnce();
    void clickingALabelLeavesNoField();

private:
    CalculatorWindow *open(const QString &name)
    {
        for (const zorvik::OperationDefinition &entry : zorvik::operationDefinitions()) {
            if (name == entry.design().name)
                return m_driver->open(entry.design().name);
        }
        return nullptr;
    }
    CalculatorWindow *drill() { return open("frmdrill"); }
};

void TestDrillTaperWindows::holeDiameter_data()
{
    QTest::addColumn<QString>("steps"); // as act() takes them, separated by spaces
    QTest::addColumn<QString>("holeDiameter");
    QTest::addColumn<QString>("enabled"); // initial, final, hole diameter

    const QString huge = QString(400, '9');
    const struct {
        const char *name;
        QString steps;
        const char *holeDiameter;
        const char *enabled;
    } rows[] = {
        {"final then initial", "txtfdiam=30 txtidiam=20 Tab", "10", "yyn"},
        {"initial then final", "txtidiam=20 txtfdiam=30 Tab", "10", "yyn"},
        {"left by a click", "txtidiam=20 txtfdiam=30 txtcspeed=1", "10", "yyn"},
        {"smaller final diameter", "txtidiam=30 txtfdiam=20.5 Tab", "-9.5", "yyn"},
        {"leaving again overwrites", "txtidiam=20 txtfdiam=30 Tab txtfdiam=35 Tab", "15", "yyn"},
        {"one diameter alone", "txtfdiam=30 Tab", "", "yyy"},
        {"a diameter cleared unlocks", "txtidiam=20 txtfdiam=30 Tab txtidiam= Tab", "10", "yyy"},
        {"typed hole diameter locks", "txtfdiam2=12 Tab", "12", "nny"},
        {"cleared hole diameter unlocks", "txtfdiam2=12 Tab txtfdiam2= Tab", "", "yyy"},
        {"typed over an unlocked difference",
         "txtidiam=20 txtfdiam=30 Tab txtfdiam= Tab txtfdiam2=8 Tab", "8", "nny"},
        // No number, no difference: the hole diameter keeps its text and its lock.
        {"two points keep the difference", "txtidiam=20 txtfdiam=30 Tab txtidiam=2..0 Tab", "10",
         "yyn"},
        {"lone point keeps the blank", "txtidiam=. txtfdiam=30 Tab", "", "yyy"},
        {"too many digits keep the blank", "txtidiam=1 txtfdiam=" + huge + " Tab", "", "yyy"},
    };
    for (const auto &row : rows)
        QTest::newRow(row.name) << row.steps << row.holeDiameter << row.enabled;
}

void TestDrillTaperWindows::holeDiameter()
{
    QFETCH(QString, steps);
    QFETCH(QString, holeDiameter);
    QFETCH(QString, enabled);

    CalculatorWindow *window = drill();
    QVERIFY(window);
    act(window, steps.split(' '));
    QCOMPARE(fieldOf(window, "txtfdiam2")->text(), holeDiameter);
    QCOMPARE(enabledDiameters(window), enabled);
    // The focus never rests on a field that a leave step locked.
    QVERIFY(QApplication::focusWidget() && QApplication::focusWidget()->isEnabled());
}

// The window opens with the focus in the initial diameter, which the first Tab leaves.
void TestDrillTaperWindows::firstTabLeavesTheInitialDiameter()
{
    CalculatorWindow *window = drill();
    QVERIFY(window);
    fieldOf(window, "txtfdiam")->setText("30");
    QLineEdit *initial = fieldOf(window, "txtidiam");
    QCOMPARE(QApplication::focusWidget(), initial);
    QTest::keyClicks(initial, "20");
    QTest::keyClick(initial, Qt::Key_Tab);
    QCOMPARE(fieldOf(window, "txtfdiam2")->text(), QString("10"));
    QCOMPARE(enabledDiameters(window), QString("yyn"));
    QCOMPARE(QApplication::focusWidget(), fieldOf(window, "txtfdiam"));
}

void TestDrillTaperWindows::focusPassesLockedFields_data()
{
    QTest::addColumn<QString>("steps"); // as act() takes them, separated by spaces
    QTest::addColumn<QString>("focus");

    // Tab and Shift+Tab go on past the fields the leave step locks, in their direction.
    QTest::newRow("Shift+Tab to locked diameters") << "txtfdiam2=12 Backtab"
                                                   << "txteff";
    QTest::newRow("Tab to a locked hole diameter") << "txtidiam=20 txtfdiam=30 Tab"
                                                   << "txtdepth";
    // A click on a field that leaving locks leaves the focus where it was.
    QTest::newRow("click on a locked diameter") << "txtfdiam2=12 txtidiam"
                                                << "txtfdiam2";
    QTest::newRow("click on a locked hole diameter") << "txtidiam=20 txtfdiam=30 txtfdiam2"
                                                     << "txtfdiam";
}

// Wherever the focus goes, the next keys replace what that field holds rather than extend a
// number the user took for finished.
void TestDrillTaperWindows::focusPassesLockedFields()
{
    QFETCH(QString, steps);
    QFETCH(QString, focus);

    CalculatorWindow *window = drill();
    QVERIFY(window);
    act(window, steps.split(' '));
    QLineEdit *field = fieldOf(window, focus);
    QCOMPARE(QApplication::focusWidget(), field);
    QTest::keyClicks(field, "7");
    QCOMPARE(field->text(), QString("7"));
}

void TestDrillTaperWindows::enlargementIsCalculated_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("calculate");
    const QString left = "txtfdiam=20 txtidiam=12 Tab txtcspeed=25";
    // Calculate leaves the diameter that still has the focus first.
    const QString inPlace = "txtcspeed=25 txtidiam=12 txtfdiam=20";
    QTest::newRow("Enter") << left << "Enter";
    QTest::newRow("Calculate") << left << "cmdcalc";
    QTest::newRow("Enter in the final diameter") << inPlace << "Enter";
    QTest::newRow("Calculate from the final diameter") << inPlace << "cmdcalc";
}

// The locked hole diameter is still what the relation list reads for the chip, and the final
// diameter what it reads for the speeds.
void TestDrillTaperWindows::enlargementIsCalculated()
{
    QFETCH(QString, steps);
    QFETCH(QString, calculate);

    CalculatorWindow *window = drill();
    QVERIFY(window);
    act(window, steps.split(' '));
    if (calculate == "Enter")
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    else
        QTest::mouseClick(labelOf(window, calculate), Qt::LeftButton);
    QCOMPARE(fieldOf(window, "txtfdiam2")->text(), QString("8"));
    QCOMPARE(fieldOf(window, "txtdoc")->text(), QString("4"));
    QCOMPARE(fieldOf(window, "txtrpm")->text(), QString("397.727272727273"));
    QCOMPARE(enabledDiameters(window), QString("yyn"));
}

void TestDrillTaperWindows::resetUnlocksTheDiameters_data()
{
    QTest::addColumn<QString>("steps");
    QTest::newRow("enlargement") << "txtfdiam=30 txtidiam=20 Tab txtrpm=500";
    QTest::newRow("drilling") << "txtfdiam2=10 Tab txtrpm=500";
}

// After a calculation Reset leaves the three defaults, blanks the rest (the computed inlet and
// the hole diameter too) and unlocks every diameter.
void TestDrillTaperWindows::resetUnlocksTheDiameters()
{
    QFETCH(QString, steps);

    CalculatorWindow *window = drill();
    QVERIFY(window);
    act(window, steps.split(' '));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QVERIFY(!fieldOf(window, "txtinlet")->text().isEmpty());
    QVERIFY(enabledDiameters(window).contains('n'));

    QTest::mouseClick(labelOf(window, "cmdreset"), Qt::LeftButton);
    const QHash<QString, QString> defaults{
        {"txtoutlet", "3"}, {"txtangle", "118"}, {"txtedge", "2"}};
    for (QLineEdit *field : window->findChildren<QLineEdit *>())
        QCOMPARE(field->text(), defaults.value(field->objectName()));
    QCOMPARE(enabledDiameters(window), QString("yyy"));
}

void TestDrillTaperWindows::keyFilter_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("expected");

    const char *rows[][4] = {
        {"frmdrill", "txttcf", "12,5", "12.5"},        // a decimal field like the rest
        {"frmdrill", "txtct", "0,2 mm-x", "0,2 mm-x"}, // anything
        {"frmdrill", "txtcspeed", "1a.5-", "1.5"},     // the plain filter
        {"frmtap", "txtnoc", "2.5x", "2.5"},           {"frmtap", "txtangle", "1,5 e", "1.5"},
    };
    for (const auto &[window, field, keys, expected] : rows)
        QTest::addRow("%s %s", window, field) << window << field << keys << expected;
}

void TestDrillTaperWindows::keyFilter()
{
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, keys);
    QFETCH(QString, expected);

    CalculatorWindow *calc = open(window);
    QVERIFY(calc);
    typeInto(calc, field, keys);
    QCOMPARE(fieldOf(calc, field)->text(), expected);
}

void TestDrillTaperWindows::hover_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("surface"); // "" for the window's own background
    QTest::addColumn<bool>("restores");   // all four labels, or none

    const struct {
        const char *window;
        const char *surface;
        bool restores;
    } rows[] = {
        {"frmdrill", "", true},         {"frmdrill", "Frame2", true},
        {"frmdrill", "Frame3", true},   {"frmdrill", "Frame1", false},
        {"frmdrill", "Frame4", false},  {"frmdrill", "txtcspeed", false},
        {"frmdrill", "caption", false}, {"frmtap", "", true},
        {"frmtap", "Frame1", true},     {"frmtap", "Frame2", false},
        {"frmtap", "Frame3", false},    {"frmtap", "caption", false},
    };
    for (const auto &row : rows)
        QTest::addRow("%s %s", row.window, *row.surface ? row.surface : "background")
            << row.window << row.surface << row.restores;
}

void TestDrillTaperWindows::hover()
{
    QFETCH(QString, window);
    QFETCH(QString, surface);
    QFETCH(bool, restores);

    CalculatorWindow *calc = open(window);
    QVERIFY(calc);
    const QList<zorvik::calculator::ButtonLabel *> labels =
        calc->findChildren<zorvik::calculator::ButtonLabel *>();
    QCOMPARE(labels.size(), 4);
    for (zorvik::calculator::ButtonLabel *label : labels)
        label->setLit(true);

    QWidget *target = calc;
    QPoint at(2, 2);
    if (surface == "caption") {
        target = fieldOf(calc, "txtrpm")
                     ->parentWidget()
                     ->findChild<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
        at = QPoint(5, 5);
    } else if (!surface.isEmpty()) {
        target = calc->findChild<QWidget *>(surface);
        QVERIFY(target);
        at = QPoint(target->width() - 3, target->height() - 3);
    }
    QVERIFY(target && target->isVisible());
    QCOMPARE(calc->childAt(target->mapTo(calc, at)), target == calc ? nullptr : target);
    QTest::mouseMove(target, at);

    const QColor expected(restores ? zorvik::calculator::ButtonLabel::normalColour
                                   : zorvik::calculator::ButtonLabel::hoverColour);
    for (zorvik::calculator::ButtonLabel *label : labels)
        QTRY_COMPARE(label->colour(), expected);
}

// These texts leave work for a second solve, so a double click that ran Calculate twice would
// fill the inlet length that one click leaves blank.
void TestDrillTaperWindows::doubleClickCalculatesOnce()
{
    CalculatorWindow *window = drill();
    QVERIFY(window);
    const QStringList typed{"txtfpt=45", "txtarea=50", "txtfrate=60", "txteeff=90", "txtmrr=150"};
    for (const QString &entry : typed)
        typeInto(window, entry.section('=', 0, 0), entry.section('=', 1));
    zorvik::calculator::ButtonLabel *calculate = labelOf(window, "cmdcalc");
    QSignalSpy clicks(calculate, &zorvik::calculator::ButtonLabel::clicked);
    QTest::mouseDClick(m_driver->main()->windowHandle(), Qt::LeftButton, {},
                       calculate->mapTo(m_driver->main(), calculate->rect().center()));
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(fieldOf(window, "txtdoc")->text(), QString("1.11111111111111"));
    // The hole diameter is found in the first pass, and the inlet follows it in the next.
    QCOMPARE(fieldOf(window, "txtinlet")->text(), QString("1.29593670201417"));
}

// A button label takes no focus, so a click on one leaves the focus where it is; Calculate runs
// the enlargement of the diameter not yet left as leaving it would.
void TestDrillTaperWindows::clickingALabelLeavesNoField()
{
    CalculatorWindow *window = drill();
    QVERIFY(window);
    act(window, {"txtfdiam=30", "txtidiam=20"});
    QLineEdit *typing = fieldOf(window, "txtidiam");
    zorvik::calculator::ButtonLabel *calculate = labelOf(window, "cmdcalc");
    QTest::mouseClick(m_driver->main()->windowHandle(), Qt::LeftButton, {},
                      calculate->mapTo(m_driver->main(), calculate->rect().center()));
    QCOMPARE(QApplication::focusWidget(), typing);
    QCOMPARE(fieldOf(window, "txtfdiam2")->text(), QString("10"));
    QCOMPARE(enabledDiameters(window), QString("yyn"));
    // Leaving the field afterwards runs it again, to the same end.
    QTest::keyClick(typing, Qt::Key_Tab);
    QCOMPARE(fieldOf(window, "txtfdiam2")->text(), QString("10"));
}

QTEST_MAIN(TestDrillTaperWindows)
#include "test_drilltaperwindows.moc"
