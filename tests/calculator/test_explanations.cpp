// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "tests/support/workedexamples.h"

#include <QHelpEvent>
#include <QPalette>
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

bool looksWritten(QLineEdit *field)
{
    return field->palette().color(QPalette::Text) ==
           field->window()->palette().color(QPalette::Link);
}

} // namespace

class TestExplanations : public QObject {
    Q_OBJECT

private slots:
    void init() { m_driver = std::make_unique<WindowDriver>(); }
    void cleanup() { m_driver.reset(); }

    void hoverShowsHowAFieldGotItsText_data();
    void hoverShowsHowAFieldGotItsText();
    void blankFieldNamesTheSourceThatIsNotANumber();
    void changesDropTheExplanations_data();
    void changesDropTheExplanations();

private:
    std::unique_ptr<WindowDriver> m_driver;
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
    CalculatorWindow *calc = m_driver->open(option.toLatin1(), window.toLatin1());
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
    QCOMPARE(speed->accessibleDescription(), speed->toolTip());
    QVERIFY(!looksWritten(speed));
    // The finishing page was not calculated, so it explains nothing.
    QCOMPARE(fieldOf(calc, "ftxtrpm")->toolTip(), QString());
}

void TestExplanations::blankFieldNamesTheSourceThatIsNotANumber()
{
    CalculatorWindow *calc = m_driver->open("Option1", "frmlong");
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

void TestExplanations::changesDropTheExplanations_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("typing") << "typing";
    QTest::newRow("Reset") << "Reset";
    QTest::newRow("Import") << "Import";
}

void TestExplanations::changesDropTheExplanations()
{
    QFETCH(QString, change);
    CalculatorWindow *calc = m_driver->open("Option1", "frmlong");
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
    else
        QTest::mouseClick(labelOf(calc, "command5"), Qt::LeftButton);

    for (QLineEdit *field : calc->findChildren<QLineEdit *>()) {
        QCOMPARE(field->toolTip(), QString());
        QCOMPARE(field->accessibleDescription(), QString());
        QVERIFY2(!looksWritten(field), qPrintable(field->objectName()));
    }
    // The next Calculate explains the page again.
    QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_Enter);
    QVERIFY(!fieldOf(calc, "txtidiam")->toolTip().isEmpty());
}

QTEST_MAIN(TestExplanations)
#include "test_explanations.moc"
