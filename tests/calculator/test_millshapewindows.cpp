// SPDX-License-Identifier: GPL-3.0-or-later
#include "windowdriver.h"

#include "calculator/twips.h"

#include <QTabBar>

using zorvik::calculator::ButtonLabel;
using zorvik::calculator::CalculatorWindow;

namespace {

const QStringList roughingLabels{"Label1", "Label2", "command5", "Label3", "Label4"};
const QStringList finishingLabels{"flabel1", "flabel2", "fcommand5", "flabel3", "flabel4"};
const QStringList backgroundLabels{"Label1", "Label2", "Label3", "Label4"};

// name=text pairs, typed into the fields of the page with the prefix.
void typeAll(CalculatorWindow *window, const QString &prefix, const QStringList &entries)
{
    showPage(window, prefix.isEmpty() ? 0 : 1);
    for (const QString &entry : entries)
        typeInto(window, prefix + entry.section('=', 0, 0), entry.section('=', 1));
}

} // namespace

class TestMillShapeWindows : public WindowSuite {
    Q_OBJECT

private slots:

    void enterSolves_data();
    void enterSolves();
    void importedResultsAreKept();
    void hover_data();
    void hover();

private:
};

void TestMillShapeWindows::enterSolves_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("solved"); // prefix of the page Enter solves
    QTest::addColumn<QStringList>("given");
    QTest::addColumn<QString>("result"); // name=text, written on the solved page only

    const QStringList milling{"txtdiam=100", "txtrpm=200"};
    const QStringList shaping{"txtcf=1200", "txtms=6"};
    const int enter = Qt::Key_Return;
    QTest::newRow("milling, roughing shown")
        << "Option12"
        << "frmmill" << 0 << enter << "" << milling << "txtcs=62.8571428571429";
    QTest::newRow("milling, finishing shown")
        << "Option12"
        << "frmmill" << 1 << enter << "f" << milling << "txtcs=62.8571428571429";
    QTest::newRow("shaping, roughing shown")
        << "Option23"
        << "frmshape" << 0 << enter << "" << shaping << "txtcp=120";
    QTest::newRow("shaping, finishing shown")
        << "Option23"
        << "frmshape" << 1 << enter << "f" << shaping << "txtcp=120";
    QTest::newRow("shaping, keypad Enter on finishing")
        << "Option23"
        << "frmshape" << 1 << int(Qt::Key_Enter) << "f" << shaping << "txtcp=120";
}

// Enter solves the page that shows.
void TestMillShapeWindows::enterSolves()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(int, shown);
    QFETCH(int, key);
    QFETCH(QString, solved);
    QFETCH(QStringList, given);
    QFETCH(QString, result);

    CalculatorWindow *calc = m_driver->open(qPrintable(window));
    QVERIFY(calc);
    typeAll(calc, "", given);
    typeAll(calc, "f", given);
    showPage(calc, shown);
    const QString shownPrefix = shown == 0 ? "" : "f";
    QTest::keyClick(fieldOf(calc, shownPrefix + given.front().section('=', 0, 0)), Qt::Key(key));

    const QString other = solved.isEmpty() ? "f" : "";
    const QString name = result.section('=', 0, 0);
    QCOMPARE(fieldOf(calc, solved + name)->text(), result.section('=', 1));
    QCOMPARE(fieldOf(calc, other + name)->text(), QString());
    QCOMPARE(calc->shownPage(), shown);
}

// Import brings results across as well as inputs, and a solve never recomputes a field that
// holds text: the copied removal rate stays until the user clears it.
void TestMillShapeWindows::importedResultsAreKept()
{
    CalculatorWindow *calc = m_driver->open("frmmill");
    QVERIFY(calc);
    typeAll(calc, "", {"txtcw=20", "txtih=30", "txtfh=25", "txtrpm=200", "txtf=1"});
    QTest::mouseClick(labelOf(calc, "Label1"), Qt::LeftButton);
    QCOMPARE(fieldOf(calc, "txtmrr")->text(), QString("20000"));
    showPage(calc, 1);
    QTest::mouseClick(labelOf(calc, "fcommand5"), Qt::LeftButton);
    QCOMPARE(fieldOf(calc, "ftxtmrr")->text(), QString("20000"));
    QCOMPARE(fieldOf(calc, "ftxtdoc")->text(), QString("5"));

    typeInto(calc, "ftxtdoc", "2");
    QTest::mouseClick(labelOf(calc, "flabel1"), Qt::LeftButton);
    QCOMPARE(fieldOf(calc, "ftxtmrr")->text(), QString("20000"));
    typeInto(calc, "ftxtmrr", "");
    QTest::mouseClick(labelOf(calc, "flabel1"), Qt::LeftButton);
    QCOMPARE(fieldOf(calc, "ftxtmrr")->text(), QString("8000"));
    QCOMPARE(fieldOf(calc, "txtmrr")->text(), QString("20000"));
}

void TestMillShapeWindows::hover_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("surface"); // "" the window's background, "page" the tab control
    QTest::addColumn<QStringList>("restored");

    const QStringList all = roughingLabels + finishingLabels;
    struct Window {
        const char *option;
        const char *name;
        const char *tag;
        QStringList finishingFrames; // parameters and button frame
        QStringList workPieceFrames;
    };
    const Window windows[] = {
        {"Option12", "frmmill", "mill", {"Frame5", "Frame6"}, {"Frame2", "Frame4"}},
        {"Option23", "frmshape", "shape", {"Frame4", "Frame6"}, {"Frame2", "Frame5"}},
    };
    for (const Window &w : windows) {
        QTest::addRow("%s background", w.tag) << w.option << w.name << 1 << "" << backgroundLabels;
        QTest::addRow("%s tab control", w.tag) << w.option << w.name << 0 << "page" << all;
        QTest::addRow("%s tab strip", w.tag) << w.option << w.name << 1 << "tabs" << all;
        for (const char *frame : {"Frame1", "Frame3"})
            QTest::addRow("%s %s", w.tag, frame)
                << w.option << w.name << 0 << frame << roughingLabels;
        for (const QString &frame : w.finishingFrames)
            QTest::addRow("%s %s", w.tag, qPrintable(frame))
                << w.option << w.name << 1 << frame << finishingLabels;
        for (int page = 0; page < 2; ++page)
            QTest::addRow("%s %s", w.tag, qPrintable(w.workPieceFrames[page]))
                << w.option << w.name << page << w.workPieceFrames[page] << QStringList{};
        QTest::addRow("%s field", w.tag) << w.option << w.name << 0 << "txtcs" << QStringList{};
    }
}

void TestMillShapeWindows::hover()
{
    QFETCH(QString, option);
    QFETCH(QString, window);
    QFETCH(int, page);
    QFETCH(QString, surface);
    QFETCH(QStringList, restored);

    CalculatorWindow *calc = m_driver->open(qPrintable(window));
    QVERIFY(calc);
    showPage(calc, page);
    const QList<zorvik::calculator::ButtonLabel *> labels =
        calc->findChildren<zorvik::calculator::ButtonLabel *>();
    QCOMPARE(labels.size(), 10);

    QWidget *target = calc;
    QPoint at(2, 1);
    if (surface == "tabs") {
        target = calc->findChild<QTabBar *>();
        at = QPoint(target->width() / 2, target->height() / 2);
    } else if (surface == "page") { // left of the button frame, below the parameters frame
        target = calc->findChild<QWidget *>("Frame1")->parentWidget();
        at = QPoint(zorvik::calculator::twips::toPixels(1000),
                    zorvik::calculator::twips::toPixels(6900));
    } else if (!surface.isEmpty()) {
        target = calc->findChild<QWidget *>(surface);
        QVERIFY(target);
        at = QPoint(target->width() - 3, target->height() - 3);
    }
    QVERIFY(target->isVisible());
    QCOMPARE(calc->childAt(target->mapTo(calc, at)), target == calc ? nullptr : target);
    // A movement to where the pointer already is reaches no widget, and the surfaces of the two
    // pages lie on the same spots: come from elsewhere first.
    QTest::mouseMove(target, at - QPoint(1, 1));
    for (zorvik::calculator::ButtonLabel *label : labels)
        label->setLit(true);
    QTest::mouseMove(target, at);

    for (zorvik::calculator::ButtonLabel *label : labels) {
        const bool normal = restored.contains(label->objectName());
        QTRY_COMPARE(label->colour(),
                     QColor(normal ? zorvik::calculator::ButtonLabel::normalColour
                                   : zorvik::calculator::ButtonLabel::hoverColour));
    }
}

QTEST_MAIN(TestMillShapeWindows)
#include "test_millshapewindows.moc"
