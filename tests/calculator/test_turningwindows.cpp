// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "examples/workedexamples.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

using zorvik::calculator::CalculatorWindow;

namespace {

struct Entry {
    const char *field;
    const char *text;
};

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0),
                 qRound(height / 15.0));
}

} // namespace

class TestTurningWindows : public WindowSuite {
    Q_OBJECT

private slots:

    void eachWindowCutsItsOwnGeometry();
    void recalculateAfterEditingEachPage();
    void opensWithDefaults_data();
    void opensWithDefaults();
    void layout_data();
    void layout();
    void captions_data();
    void captions();
    void fonts_data();
    void fonts();
    void eachWindowIsIndependent();

private:
};

// One job in both windows: an 80 mm bar turned, or an 80 mm face (radius 40) faced, 2 mm a cut.
// The speeds agree, but a turning cut takes its depth off each side of the diameter and a
// facing cut off the length.
void TestTurningWindows::eachWindowCutsItsOwnGeometry()
{
    CalculatorWindow *longitudinal = m_driver->open("frmlong");
    CalculatorWindow *face = m_driver->open("frmface");
    QVERIFY(longitudinal && face);
    const Entry job[] = {{"txtidiam", "80"}, {"txtlen", "40"}, {"txtrpm", "500"},
                         {"txtfeed", "0.2"}, {"txtdoc", "2"},  {"txtangle", "30"}};
    for (QWidget *calc : {static_cast<QWidget *>(longitudinal), static_cast<QWidget *>(face)}) {
        for (const Entry &entry : job)
            typeInto(calc, entry.field, entry.text);
        QTest::keyClick(fieldOf(calc, "txtidiam"), Qt::Key_Enter);
        QCOMPARE(fieldOf(calc, "txtcspeed")->text(), QString("125.714285714286"));
        QCOMPARE(fieldOf(calc, "txtcw")->text(), QString("3.99854051512104"));
    }
    QCOMPARE(fieldOf(longitudinal, "txtfdiam")->text(), QString("76"));
    QCOMPARE(fieldOf(face, "txtfdiam")->text(), QString("78"));
}

// The worked example on both pages, then two cuts instead of one on the roughing page and half
// the feed on the finishing page: Recalculate follows each edit on its own page.
void TestTurningWindows::recalculateAfterEditingEachPage()
{
    CalculatorWindow *calc = m_driver->open("frmlong");
    QVERIFY(calc);
    for (const QString prefix : {"", "f"}) {
        showPage(calc, prefix.isEmpty() ? 0 : 1);
        for (const auto &[name, text] : zorvik::test::workedExample("longitudinal").typed)
            typeInto(calc, prefix + QString::fromUtf8(name.data(), qsizetype(name.size())),
                     QString::fromUtf8(text.data(), qsizetype(text.size())));
        QTest::mouseClick(labelOf(calc, prefix + "command1"), Qt::LeftButton);
        QCOMPARE(fieldOf(calc, prefix + "txtmtime")->text(), QString("0.544761904761905"));
    }
    showPage(calc, 0);
    typeInto(calc, "txtnoc", "2");
    QTest::keyClick(fieldOf(calc, "txtnoc"), Qt::Key_F5);
    QCOMPARE(fieldOf(calc, "txtmtime")->text(), QString("1.08952380952381"));
    QCOMPARE(fieldOf(calc, "ftxtmtime")->text(), QString("0.544761904761905"));

    showPage(calc, 1);
    typeInto(calc, "ftxtfeed", "0.1");
    QTest::keyClick(fieldOf(calc, "ftxtfeed"), Qt::Key_F5);
    QCOMPARE(fieldOf(calc, "ftxtfrate")->text(), QString("95.4545454545455"));
    QCOMPARE(fieldOf(calc, "ftxtmtime")->text(), QString("1.08952380952381"));
    QCOMPARE(fieldOf(calc, "txtfrate")->text(), QString("190.909090909091"));
}

void TestTurningWindows::opensWithDefaults_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("caption");
    QTest::newRow("longitudinal") << "Option1"
                                  << "frmlong"
                                  << "Longitudinal turning";
    QTest::newRow("face") << "Option2"
                          << "frmface"
                          << "Face turning";
}

void TestTurningWindows::opensWithDefaults()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(QString, caption);

    CalculatorWindow *calc =
        m_driver->openThroughDialog(qPrintable(option), qPrintable(window), true);
    QVERIFY(calc);
    QCOMPARE(calc->windowTitle(), caption);
    QCOMPARE(calc->shownPage(), 0);
    const QList<QLineEdit *> fields = calc->findChildren<QLineEdit *>();
    QCOMPARE(fields.size(), 52);
    int withDefault = 0;
    for (QLineEdit *field : fields) {
        const QString base =
            field->objectName().startsWith('f') ? field->objectName().mid(1) : field->objectName();
        const QString expected = base == "txtnoc"                            ? "1"
                                 : base == "txtinlet" || base == "txtoutlet" ? "2"
                                                                             : "";
        QCOMPARE(field->text(), expected);
        withDefault += expected.isEmpty() ? 0 : 1;
    }
    QCOMPARE(withDefault, 6);
    for (auto *label : calc->findChildren<zorvik::calculator::ButtonLabel *>()) {
        QCOMPARE(label->colour(), QColor(0xC0C0C0));
        QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);
    }
    auto *tabs = calc->findChild<QTabBar *>();
    QVERIFY(tabs);
    QCOMPARE(tabs->count(), 2);
    QCOMPARE(tabs->tabText(0), QString("Roughing Data"));
    QCOMPARE(tabs->tabText(1), QString("Finishing Data"));
}

void TestTurningWindows::layout_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QRect>("expected"); // relative to the parent widget

    QTest::newRow("long tab control") << "Option1"
                                      << "frmlong"
                                      << "t1" << twipsRect(53, 60, 11535, 7095);
    QTest::newRow("long work-piece frame") << "Option1"
                                           << "frmlong"
                                           << "Frame1" << twipsRect(173, 480, 11295, 1575);
    QTest::newRow("face parameters frame") << "Option2"
                                           << "frmface"
                                           << "fFrame2" << twipsRect(120, 2160, 11295, 3975);
    QTest::newRow("button frame") << "Option2"
                                  << "frmface"
                                  << "Frame3" << twipsRect(2153, 6240, 7335, 735);
    QTest::newRow("first field") << "Option1"
                                 << "frmlong"
                                 << "txtidiam" << twipsRect(2160, 480, 1215, 375);
    QTest::newRow("middle column") << "Option1"
                                   << "frmlong"
                                   << "ftxtmrr" << twipsRect(6000, 1920, 1215, 375);
    QTest::newRow("last column") << "Option2"
                                 << "frmface"
                                 << "txteff" << twipsRect(9960, 2880, 1215, 375);
    QTest::newRow("Import label") << "Option1"
                                  << "frmlong"
                                  << "fcommand5" << twipsRect(3000, 240, 1335, 375);
    const std::pair<const char *, int> labels[] = {{"command1", 120},
                                                   {"command2", 1560},
                                                   {"command5", 3000},
                                                   {"command3", 4440},
                                                   {"command4", 5880}};
    for (const auto &[name, left] : labels)
        QTest::addRow("%s", name) << "Option1"
                                  << "frmlong" << name << twipsRect(left, 240, 1335, 375);
}

void TestTurningWindows::layout()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(QString, widget);
    QFETCH(QRect, expected);

    CalculatorWindow *calc = m_driver->open(qPrintable(window));
    QVERIFY(calc);
    auto *found = calc->findChild<QWidget *>(widget);
    QVERIFY(found);
    QCOMPARE(found->geometry(), expected);
    // The window places itself in the work area.
    QCOMPARE(zorvik::calculator::ScrollFrame::subWindowOf(calc)->geometry(),
             twipsRect(70, 150, 11730, 7590));
}

void TestTurningWindows::captions_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("field"); // or frame, or button label
    QTest::addColumn<QString>("caption");

    QTest::newRow("long idiam") << "Option1"
                                << "frmlong"
                                << "txtidiam"
                                << "Initial Diameter (mm) :";
    QTest::newRow("long fdiam") << "Option1"
                                << "frmlong"
                                << "ftxtfdiam"
                                << "Final Diameter (mm) :";
    QTest::newRow("long len") << "Option1"
                              << "frmlong"
                              << "txtlen"
                              << "Longitudinal Length (mm) :";
    QTest::newRow("face idiam") << "Option2"
                                << "frmface"
                                << "ftxtidiam"
                                << "Initial Length (mm) :";
    QTest::newRow("face fdiam") << "Option2"
                                << "frmface"
                                << "txtfdiam"
                                << "Final Length (mm) :";
    QTest::newRow("face len") << "Option2"
                              << "frmface"
                              << "txtlen"
                              << "Work-Piece Radius (mm) :";
    QTest::newRow("shared caption") << "Option2"
                                    << "frmface"
                                    << "txtmrr"
                                    << "Metal Removal Rate (mm3/min.) :";
    QTest::newRow("work-piece frame") << "Option2"
                                      << "frmface"
                                      << "fFrame1"
                                      << "Work-Piece Characteristics : ";
    QTest::newRow("parameters frame") << "Option1"
                                      << "frmlong"
                                      << "Frame2"
                                      << "Machining Parameters : ";
    QTest::newRow("button frame") << "Option1"
                                  << "frmlong"
                                  << "fFrame3"
                                  << "";
    const char *labels[][2] = {{"command1", "Calculate"},
                               {"command2", "Reset"},
                               {"command5", "Import"},
                               {"command3", "Back"},
                               {"command4", "Cancel"}};
    for (const auto &[name, caption] : labels)
        QTest::addRow("%s", name) << "Option2"
                                  << "frmface" << QString("f") + name << caption;
}

void TestTurningWindows::captions()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(QString, field);
    QFETCH(QString, caption);

    CalculatorWindow *calc = m_driver->open(qPrintable(window));
    QVERIFY(calc);
    if (auto *frame = calc->findChild<QGroupBox *>(field)) {
        QCOMPARE(frame->title(), caption);
        return;
    }
    if (auto *button = calc->findChild<zorvik::calculator::ButtonLabel *>(field)) {
        QCOMPARE(button->text(), caption);
        return;
    }
    QLineEdit *edit = fieldOf(calc, field);
    const QLabel *label = nullptr;
    for (const QLabel *candidate : calc->findChildren<QLabel *>()) {
        if (candidate->buddy() == edit)
            label = candidate;
    }
    QVERIFY(label);
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->geometry().top(), edit->geometry().top() + 8);
    QVERIFY(label->geometry().right() < edit->geometry().left());
}

void TestTurningWindows::fonts_data()
{
    QTest::addColumn<QString>("widget");
    QTest::addColumn<double>("pointSize");
    QTest::addColumn<bool>("bold");
    QTest::newRow("tab captions") << "tabs" << 12.0 << true;
    QTest::newRow("frame caption") << "fFrame2" << 9.75 << true;
    QTest::newRow("button label") << "command3" << 15.75 << false;
}

void TestTurningWindows::fonts()
{
    QFETCH(QString, widget);
    QFETCH(double, pointSize);
    QFETCH(bool, bold);

    CalculatorWindow *calc = m_driver->open("frmface");
    QVERIFY(calc);
    const QWidget *found = widget == "tabs" ? static_cast<QWidget *>(calc->findChild<QTabBar *>())
                                            : calc->findChild<QWidget *>(widget);
    QVERIFY(found);
    QCOMPARE(found->font().family(), QString("Times New Roman"));
    QCOMPARE(found->font().pointSizeF(), pointSize);
    QCOMPARE(found->font().bold(), bold);
}

void TestTurningWindows::eachWindowIsIndependent()
{
    CalculatorWindow *longitudinal = m_driver->open("frmlong");
    CalculatorWindow *face = m_driver->open("frmface");
    QVERIFY(longitudinal && face && longitudinal != face);
    typeInto(longitudinal, "txtidiam", "60");
    QCOMPARE(fieldOf(face, "txtidiam")->text(), QString());
    QTest::mouseClick(labelOf(face, "command4"), Qt::LeftButton);
    QTRY_VERIFY(!m_driver->window("frmface"));
    QCOMPARE(fieldOf(longitudinal, "txtidiam")->text(), QString("60"));
}

QTEST_MAIN(TestTurningWindows)
#include "test_turningwindows.moc"
