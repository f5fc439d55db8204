// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "examples/workedexamples.h"

#include <QHelpEvent>
#include <QPalette>
#include <QScopeGuard>
#include <QToolTip>

using zorvik::calculator::CalculatorWindow;

namespace {

void typeExample(QWidget *window, std::string_view feed = "")
{
    for (const auto &[name, text] : zorvik::test::workedExample("longitudinal").typed) {
        const std::string_view typed = name == "txtfeed" && !feed.empty() ? feed : text;
        typeInto(window, QString::fromUtf8(name.data(), qsizetype(name.size())),
                 QString::fromUtf8(typed.data(), qsizetype(typed.size())));
    }
}

// What hovering shows: the tooltip the field answers a tooltip event with.
QString hover(QLineEdit *field)
{
    QHelpEvent event(QEvent::ToolTip, QPoint(4, 4), field->mapToGlobal(QPoint(4, 4)));
    QApplication::sendEvent(field, &event);
    return QToolTip::text();
}

QPalette paletteOf(const QColor &text, const QColor &base, const QColor &link)
{
    QPalette palette;
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText})
        palette.setColor(role, text);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window})
        palette.setColor(role, base);
    palette.setColor(QPalette::Link, link);
    return palette;
}

} // namespace

class TestExplanations : public WindowSuite {
    Q_OBJECT

private slots:

    void hoverShowsHowAFieldGotItsText_data();
    void hoverShowsHowAFieldGotItsText();
    void blankFieldNamesTheSourceThatIsNotANumber();
    void changesLeaveResultsOutOfDate_data();
    void changesLeaveResultsOutOfDate();

private:
};

void TestExplanations::hoverShowsHowAFieldGotItsText_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("expected"); // how the spindle speed was found
    QTest::newRow("longitudinal") << "Option1"
                                  << "frmlong"
                                  << "954.545454545455\nWritten by rule 8b in pass 1:\n"
                                     "Spindle Speed (R.P.M) = (Cutting Speed (m/min) × 1000) / "
                                     "(Initial Diameter (mm) × π)\n= (150 × 1000) / (50 × π)\n"
                                     "= 954.545454545455";
    // Facing cuts on the diameter of the face, twice the radius.
    QTest::newRow("face") << "Option2"
                          << "frmface"
                          << "238.636363636364\nWritten by rule 8b in pass 1:\n"
                             "Spindle Speed (R.P.M) = (Cutting Speed (m/min) × 1000) / "
                             "((Work-Piece Radius (mm) + Work-Piece Radius (mm)) × π)\n"
                             "= (150 × 1000) / ((100 + 100) × π)\n= 238.636363636364";
}

void TestExplanations::hoverShowsHowAFieldGotItsText()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(QString, expected);
    CalculatorWindow *calc = m_driver->open(window.toLatin1());
    QVERIFY(calc);
    typeExample(calc);
    QTest::keyClick(fieldOf(calc, "txtfeed"), Qt::Key_Enter);

    QLineEdit *rpm = fieldOf(calc, "txtrpm");
    QVERIFY2(rpm->toolTip().startsWith(expected), qPrintable(rpm->toolTip()));
    QCOMPARE(hover(rpm), rpm->toolTip());
    QCOMPARE(rpm->accessibleDescription(), rpm->toolTip());
    QVERIFY(looksWritten(rpm));

    QLineEdit *speed = fieldOf(calc, "txtcspeed");
    QCOMPARE(speed->toolTip(), QString("150\nTyped; the solve reads it and never changes it."));
    QCOMPARE(fieldOf(calc, "txtinlet")->toolTip(),
             QString("2\nThe window's default; the solve reads it and never changes it."));
    QCOMPARE(speed->accessibleDescription(), speed->toolTip());
    QVERIFY(!looksWritten(speed));
    // The finishing page was not calculated, so it says only what its fields are.
    QVERIFY(fieldOf(calc, "ftxtrpm")->toolTip().contains("Unit: rev/min"));
    QVERIFY(!fieldOf(calc, "ftxtrpm")->toolTip().contains("Written"));
}

void TestExplanations::blankFieldNamesTheSourceThatIsNotANumber()
{
    CalculatorWindow *calc = m_driver->open("frmlong");
    QVERIFY(calc);
    typeExample(calc, "1..2");
    QTest::keyClick(fieldOf(calc, "txtfeed"), Qt::Key_Enter);

    QLineEdit *rate = fieldOf(calc, "txtfrate");
    QCOMPARE(rate->text(), QString());
    const QString tip = hover(rate);
    QVERIFY2(tip.startsWith("Blank: no rule filled it.\n"), qPrintable(tip));
    QVERIFY2(tip.contains("  failed: Feed (mm/rev) holds \"1..2\", which is not a number.\n"),
             qPrintable(tip));
    QVERIFY(!looksWritten(rate));
    QVERIFY(fieldOf(calc, "txtfeed")->toolTip().startsWith("1..2\nTyped, but not a number"));
}

void TestExplanations::changesLeaveResultsOutOfDate_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QPalette>("palette");
    QTest::addColumn<QString>("changed"); // the caption the stale results name, "" for none
    const QPalette light = paletteOf(Qt::black, Qt::white, QColor(0, 0, 255));
    const QPalette dark =
        paletteOf(QColor(224, 224, 224), QColor(43, 43, 43), QColor(77, 163, 255));
    QTest::newRow("typing, light") << "typing" << light << "Initial Diameter";
    QTest::newRow("typing, dark") << "typing" << dark << "Initial Diameter";
    // Import brings a length, which the allowance is not computed from.
    QTest::newRow("Import") << "Import" << light << "-";
    // The finishing page imports the allowance as a result of its own look, which every window's
    // test checks on the light palette.
    QTest::newRow("Import a result, dark") << "Import a result" << dark << "imported";
    QTest::newRow("Reset") << "Reset" << light << "";
}

void TestExplanations::changesLeaveResultsOutOfDate()
{
    QFETCH(QString, change);
    QFETCH(QPalette, palette);
    QFETCH(QString, changed);
    const QPalette before = QApplication::palette();
    QApplication::setPalette(palette);
    QCoreApplication::sendPostedEvents(); // the open windows take it in posted events
    const auto restore = qScopeGuard([&before] {
        QApplication::setPalette(before);
        QCoreApplication::sendPostedEvents();
    });
    CalculatorWindow *calc = m_driver->open("frmlong");
    QVERIFY(calc);
    typeInto(calc, "txtidiam", "50");
    typeInto(calc, "txtfdiam", "40");
    typeInto(calc, "ftxtlen", "100"); // for Import to bring over
    QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_Enter);
    QLineEdit *allowance = fieldOf(calc, "txtallowance");
    QCOMPARE(allowance->text(), QString("5"));
    QVERIFY(looksWritten(allowance));

    if (change == "typing")
        typeInto(calc, "txtidiam", "60");
    else if (change == "Reset")
        QTest::mouseClick(labelOf(calc, "command2"), Qt::LeftButton);
    else if (change == "Import")
        QTest::mouseClick(labelOf(calc, "command5"), Qt::LeftButton);
    else {
        showPage(calc, 1);
        QTest::mouseClick(labelOf(calc, "fcommand5"), Qt::LeftButton);
    }

    if (changed == "imported") {
        QLineEdit *imported = fieldOf(calc, "ftxtallowance");
        QCOMPARE(imported->text(), QString("5"));
        QVERIFY(looksImported(imported));
        QTest::keyClick(fieldOf(calc, "ftxtidiam"), Qt::Key_Enter);
        QVERIFY(looksImported(imported));
        QTest::keyClick(fieldOf(calc, "ftxtidiam"), Qt::Key_F5);
        QVERIFY(looksWritten(imported));
    } else if (changed == "-") {
        QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_Enter);
        QVERIFY(looksWritten(allowance) && !looksOutOfDate(allowance));
        QVERIFY(allowance->toolTip().startsWith("5\nWritten by rule 1a"));
    } else if (changed.isEmpty()) {
        for (QLineEdit *field : calc->findChildren<QLineEdit *>()) {
            // Only what the field is, as before the first Calculate.
            QVERIFY(field->toolTip().contains("Unit: "));
            QVERIFY(!field->toolTip().contains("Written") && !field->toolTip().contains("Typed"));
            QCOMPARE(field->accessibleDescription(), field->toolTip());
            QVERIFY2(!looksWritten(field) && !looksOutOfDate(field),
                     qPrintable(field->objectName()));
        }
    } else {
        // Calculate fills only blanks, so the stale result stays until Recalculate.
        QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_Enter);
        QCOMPARE(allowance->text(), QString("5"));
        QVERIFY(looksOutOfDate(allowance));
        QVERIFY2(allowance->toolTip().startsWith("Computed before " + changed + " changed. " +
                                                 "Recalculate (F5"),
                 qPrintable(allowance->toolTip()));
        QVERIFY(allowance->toolTip().contains("\n5\nWritten by rule 1a in pass 1:\n"));
        QCOMPARE(allowance->accessibleDescription(), allowance->toolTip());
        // A typed text explains only itself, and stays true.
        QCOMPARE(fieldOf(calc, "txtfdiam")->toolTip(),
                 QString("40\nTyped; the solve reads it and never changes it."));
    }
    // Recalculate explains the page afresh.
    if (changed.isEmpty()) {
        typeInto(calc, "txtidiam", "50");
        typeInto(calc, "txtfdiam", "40");
    }
    QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_F5);
    QVERIFY(looksWritten(allowance));
    QVERIFY(allowance->toolTip().startsWith(allowance->text() + "\nWritten by rule 1a"));
}

QTEST_MAIN(TestExplanations)
#include "test_explanations.moc"
