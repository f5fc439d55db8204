// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/newprojectdialog.h"
#include "calculator/buttonlabel.h"
#include "calculator/twips.h"
#include "operations/operation.h"

#include <QGroupBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <algorithm>

using namespace zorvik;

// An operation as the dialog's openers record it: by its name.
using Operation = QString;

class TestNewProjectDialog : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensCollapsedAtTheTop();
    void slidesInToItsFinalPlace();
    void slideInSteps();
    void reopeningWhileUnrollingKeepsSliding();
    void reopeningRightAfterClosing();
    void layoutAndFocus();
    void optionsFormOneGroup();
    void okOpensTheFirstChosenOperation_data();
    void okOpensTheFirstChosenOperation();
    void okWithoutChoiceDoesNothing();
    void keys_data();
    void keys();
    void clickingLabels();
    void hoverColours_data();
    void hoverColours();

private:
    // A main window whose dialog offers the real options in the real order, with openers that
    // record what Ok opens.
    void start();
    QWidget *child(const QString &name) const;
    QMdiSubWindow *frame() const;
    void waitUnrolled() const;

    MainWindow *m_window = nullptr;
    QList<Operation> m_opened;
};

void TestNewProjectDialog::init()
{
    QApplication::setQuitOnLastWindowClosed(false);
    start();
}

void TestNewProjectDialog::start()
{
    delete m_window;
    m_opened.clear();
    std::vector<calculator::OperationChoice> choices;
    for (const OperationDefinition &entry : operationDefinitions()) {
        choices.push_back({entry.option, [this, name = entry.name](calculator::WindowHost &) {
                               m_opened << QString::fromLatin1(name.data(), qsizetype(name.size()));
                           }});
    }
    m_window = new MainWindow(nullptr, std::move(choices));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    QTRY_VERIFY(m_window->newProjectDialog());
}

void TestNewProjectDialog::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

QWidget *TestNewProjectDialog::child(const QString &name) const
{
    auto *found = m_window->newProjectDialog()->findChild<QWidget *>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

QMdiSubWindow *TestNewProjectDialog::frame() const
{
    return qobject_cast<QMdiSubWindow *>(m_window->newProjectDialog()->parentWidget());
}

void TestNewProjectDialog::waitUnrolled() const
{
    QTRY_VERIFY(!m_window->newProjectDialog()->isUnrolling());
}

void TestNewProjectDialog::opensCollapsedAtTheTop()
{
    m_window->newProjectDialog()->cancel();
    QTRY_VERIFY(!m_window->newProjectDialog());
    m_window->showNewProject();
    QMdiSubWindow *sub = frame();
    QCOMPARE(sub->geometry().topLeft(), QPoint(calculator::twips::toPixels(1600), 0));
    QCOMPARE(sub->width(), calculator::twips::toPixels(8640));
    // Zero height is asked for; the window keeps the height it cannot go below.
    QVERIFY(sub->height() > 0);
    QVERIFY(sub->height() < calculator::twips::toPixels(3600));
    QVERIFY(m_window->newProjectDialog()->findChild<QTimer *>("t1")->isActive());
}

void TestNewProjectDialog::slidesInToItsFinalPlace()
{
    QMdiSubWindow *sub = frame();
    int lastTop = sub->y();
    int lastHeight = sub->height();
    auto *t1 = m_window->newProjectDialog()->findChild<QTimer *>("t1");
    QCOMPARE(t1->interval(), 1);
    while (t1->isActive()) {
        QTest::qWait(1);
        QVERIFY(sub->y() >= lastTop);
        // Only the last tick, which settles on the final height, may shorten the window.
        QVERIFY(sub->height() >= lastHeight || !t1->isActive());
        QVERIFY(calculator::twips::fromPixels(sub->height()) < 3600 + 50);
        lastTop = sub->y();
        lastHeight = sub->height();
    }
    QCOMPARE(calculator::twips::fromPixels(sub->y()), 1800);
    QCOMPARE(calculator::twips::fromPixels(sub->height()), 3600);
    QCOMPARE(calculator::twips::fromPixels(sub->x()),
             calculator::twips::fromPixels(calculator::twips::toPixels(1600)));
    QCOMPARE(sub->width(), calculator::twips::toPixels(8640));
    QTest::qWait(20);
    QCOMPARE(sub->geometry().height(), calculator::twips::toPixels(3600));
}

// Each tick moves the window 50 twips down until its top is 1800 and grows it 50 twips from the
// height it really has, then settles on 3600 and stops; pixels only round what is asked.
void TestNewProjectDialog::slideInSteps()
{
    m_window->newProjectDialog()->cancel();
    m_window->showNewProject();
    QMdiSubWindow *sub = frame();
    auto *t1 = m_window->newProjectDialog()->findChild<QTimer *>("t1");
    QList<QRect> steps{sub->geometry()};
    QList<bool> running;
    connect(t1, &QTimer::timeout, this, [&] {
        steps << sub->geometry();
        running << t1->isActive();
    });
    QTRY_VERIFY(!t1->isActive());

    const int minimum = calculator::twips::fromPixels(steps.first().height());
    const int ticks = (3600 - minimum + 49) / 50 + 1;
    QCOMPARE(steps.size() - 1, ticks);
    for (int k = 1; k <= ticks; ++k) {
        const QRect &at = steps[k];
        QCOMPARE(at.x(), calculator::twips::toPixels(1600));
        QCOMPARE(at.width(), calculator::twips::toPixels(8640));
        QCOMPARE(at.y(), calculator::twips::toPixels(std::min(50 * k, 1800)));
        const int before = minimum + 50 * (k - 1);
        QCOMPARE(at.height(), calculator::twips::toPixels(before >= 3600 ? 3600 : before + 50));
        QCOMPARE(running[k - 1], k < ticks);
    }
    const auto arrived = std::find_if(steps.cbegin(), steps.cend(), [](const QRect &at) {
        return at.y() == calculator::twips::toPixels(1800);
    });
    QCOMPARE(arrived - steps.cbegin(), 36);
}

void TestNewProjectDialog::reopeningWhileUnrollingKeepsSliding()
{
    NewProjectDialog *dialog = m_window->newProjectDialog();
    QTRY_VERIFY(frame()->y() > 0);
    QVERIFY(dialog->isUnrolling());
    const int top = frame()->y();
    m_window->showNewProject();
    m_window->loadNewProject();
    QCOMPARE(m_window->newProjectDialog(), dialog);
    QVERIFY(frame()->y() >= top);
    QCOMPARE(m_window->workArea()->subWindowList().size(), 1);
    waitUnrolled();
    QCOMPARE(calculator::twips::fromPixels(frame()->y()), 1800);

    // Once it is open, opening it again only brings it to the front.
    m_window->showNewProject();
    QVERIFY(!dialog->isUnrolling());
    QCOMPARE(calculator::twips::fromPixels(frame()->y()), 1800);
}

void TestNewProjectDialog::reopeningRightAfterClosing()
{
    NewProjectDialog *closed = m_window->newProjectDialog();
    closed->cancel();
    // Before the closed dialog is gone, New Project loads a new one.
    m_window->showNewProject();
    NewProjectDialog *dialog = m_window->newProjectDialog();
    QVERIFY(dialog);
    QVERIFY(dialog != closed);
    QVERIFY(dialog->isUnrolling());
    QVERIFY(frame()->isVisible());
    QCOMPARE(m_window->workArea()->activeSubWindow(), frame());
    QTRY_COMPARE(m_window->workArea()->subWindowList().size(), 1);
}

void TestNewProjectDialog::layoutAndFocus()
{
    QCOMPARE(frame()->windowTitle(), QString("New Project"));
    const struct {
        const char *name;
        const char *caption;
        const char *container;
        QRect position;
    } controls[] = {
        {"Frame1", "Select Operation :", "frmcutting1",
         calculator::twips::rect(120, 120, 8295, 2535)},
        {"Frame2", "Turning Operations :", "Frame1", calculator::twips::rect(120, 480, 2535, 1695)},
        {"Frame3", "Drilling Operations :", "Frame1",
         calculator::twips::rect(2880, 1440, 2535, 735)},
        {"Frame4", "Milling Operations :", "Frame1", calculator::twips::rect(2880, 480, 2535, 735)},
        {"Frame5", "Shaping Operations :", "Frame1", calculator::twips::rect(5640, 480, 2535, 735)},
        {"Option1", "Longitudinal Turning", "Frame1", calculator::twips::rect(240, 840, 1815, 255)},
        {"Option2", "Face Turning", "Frame1", calculator::twips::rect(240, 1320, 1335, 255)},
        {"Option3", "Taper Turning", "Frame1", calculator::twips::rect(240, 1800, 1335, 255)},
        {"Option7", "Drilling", "Frame1", calculator::twips::rect(3000, 1800, 855, 255)},
        {"Option12", "Milling", "Frame1", calculator::twips::rect(3000, 840, 855, 255)},
        {"Option23", "Shaping", "Frame1", calculator::twips::rect(5760, 840, 975, 255)},
        {"command1", "Ok", "frmcutting1", calculator::twips::rect(7200, 2760, 1215, 375)},
        {"command2", "Cancel", "frmcutting1", calculator::twips::rect(5760, 2760, 1215, 375)},
    };
    for (const auto &control : controls) {
        QWidget *widget = child(control.name);
        QString caption;
        if (auto *box = qobject_cast<QGroupBox *>(widget))
            caption = box->title();
        else if (auto *option = qobject_cast<QRadioButton *>(widget))
            caption = option->text();
        else
            caption = qobject_cast<QLabel *>(widget)->text();
        QCOMPARE(caption, QString(control.caption));
        QCOMPARE(widget->parentWidget()->objectName(), QString(control.container));
        QCOMPARE(widget->geometry(), control.position);
    }
    QCOMPARE(child("Option1")->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(child("command2")->cursor().shape(), Qt::PointingHandCursor);

    QTRY_COMPARE(QApplication::focusWidget(), child("Option1"));
    QWidget *firstInTabOrder = m_window->newProjectDialog()->nextInFocusChain();
    while (!(firstInTabOrder->focusPolicy() & Qt::TabFocus))
        firstInTabOrder = firstInTabOrder->nextInFocusChain();
    QCOMPARE(firstInTabOrder, child("Option1"));
    for (QRadioButton *option : m_window->newProjectDialog()->findChildren<QRadioButton *>())
        QVERIFY(!option->isChecked());
}

void TestNewProjectDialog::optionsFormOneGroup()
{
    auto *milling = qobject_cast<QRadioButton *>(child("Option12"));
    auto *face = qobject_cast<QRadioButton *>(child("Option2"));
    QTest::mouseClick(milling, Qt::LeftButton);
    QVERIFY(milling->isChecked());
    QTest::mouseClick(face, Qt::LeftButton);
    QVERIFY(face->isChecked());
    QVERIFY(!milling->isChecked());
}

void TestNewProjectDialog::okOpensTheFirstChosenOperation_data()
{
    QTest::addColumn<QStringList>("chosen");
    QTest::addColumn<Operation>("operation");
    QTest::newRow("Option1") << QStringList{"Option1"} << Operation("longitudinal");
    QTest::newRow("Option2") << QStringList{"Option2"} << Operation("face");
    QTest::newRow("Option3") << QStringList{"Option3"} << Operation("taper");
    QTest::newRow("Option7") << QStringList{"Option7"} << Operation("drilling");
    QTest::newRow("Option12") << QStringList{"Option12"} << Operation("milling");
    QTest::newRow("Option23") << QStringList{"Option23"} << Operation("shaping");
    // Ok tests the options in the order of the operations table, not in tab order.
    QTest::newRow("Option1 before Option2")
        << QStringList{"Option2", "Option1"} << Operation("longitudinal");
    QTest::newRow("Option2 before Option3")
        << QStringList{"Option3", "Option2"} << Operation("face");
    QTest::newRow("Option3 before Option7")
        << QStringList{"Option7", "Option3"} << Operation("taper");
    QTest::newRow("Option7 before Option12")
        << QStringList{"Option12", "Option7"} << Operation("drilling");
    QTest::newRow("Option12 before Option23")
        << QStringList{"Option23", "Option12"} << Operation("milling");
}

void TestNewProjectDialog::okOpensTheFirstChosenOperation()
{
    QFETCH(QStringList, chosen);
    QFETCH(Operation, operation);
    for (const QString &name : chosen) {
        auto *option = qobject_cast<QRadioButton *>(child(name));
        // Lifts the grouping so that more than one can be chosen.
        option->setAutoExclusive(chosen.size() == 1);
        option->setChecked(true);
    }
    m_window->newProjectDialog()->ok();
    QCOMPARE(m_opened, QList<Operation>({operation}));
    QTRY_VERIFY(!m_window->newProjectDialog());
    QTRY_VERIFY(m_window->workArea()->subWindowList().isEmpty());
}

void TestNewProjectDialog::okWithoutChoiceDoesNothing()
{
    NewProjectDialog *dialog = m_window->newProjectDialog();
    dialog->ok();
    QTest::qWait(10);
    QVERIFY(m_opened.isEmpty());
    QCOMPARE(m_window->newProjectDialog(), dialog);
    QVERIFY(frame()->isVisible());
}

void TestNewProjectDialog::keys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("opened");
    QTest::newRow("Enter with a choice") << int(Qt::Key_Return) << true << true << 1;
    QTest::newRow("keypad Enter with a choice") << int(Qt::Key_Enter) << true << true << 1;
    QTest::newRow("Enter without a choice") << int(Qt::Key_Return) << false << false << 0;
    QTest::newRow("Esc with a choice") << int(Qt::Key_Escape) << true << true << 0;
    QTest::newRow("Esc without a choice") << int(Qt::Key_Escape) << false << true << 0;
}

void TestNewProjectDialog::keys()
{
    QFETCH(int, key);
    QFETCH(bool, choose);
    QFETCH(bool, closes);
    QFETCH(int, opened);
    if (choose)
        QTest::keyClick(child("Option1"), Qt::Key_Space);
    QCOMPARE(qobject_cast<QRadioButton *>(child("Option1"))->isChecked(), choose);
    QTest::keyClick(child("Option1"), Qt::Key(key));
    QCOMPARE(m_opened.size(), opened);
    if (closes)
        QTRY_VERIFY(!m_window->newProjectDialog());
    else
        QVERIFY(m_window->newProjectDialog());
}

void TestNewProjectDialog::clickingLabels()
{
    qobject_cast<QRadioButton *>(child("Option23"))->setChecked(true);
    QWidget *ok = child("command1");
    // A press that is released elsewhere is no click.
    QTest::mousePress(ok, Qt::LeftButton);
    QTest::mouseRelease(ok, Qt::LeftButton, {}, QPoint(-5, -5));
    QVERIFY(m_opened.isEmpty());
    QTest::mouseClick(ok, Qt::LeftButton);
    QCOMPARE(m_opened, QList<Operation>({Operation("shaping")}));
    QTRY_VERIFY(!m_window->newProjectDialog());

    m_window->showNewProject();
    QTest::mouseClick(child("command2"), Qt::LeftButton);
    QTRY_VERIFY(!m_window->newProjectDialog());
    QCOMPARE(m_opened.size(), 1);
}

void TestNewProjectDialog::hoverColours_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<bool>("okLit");
    QTest::addColumn<bool>("cancelLit");

    QTest::newRow("over Ok") << QStringList{"command1"} << true << false;
    QTest::newRow("over Cancel") << QStringList{"command2"} << false << true;
    QTest::newRow("both stay lit") << QStringList{"command1", "command2"} << true << true;
    QTest::newRow("option keeps") << QStringList{"command1", "Option1"} << true << false;
    QTest::newRow("sub-frame keeps") << QStringList{"command2", "Frame4"} << false << true;
    QTest::newRow("Frame1 restores")
        << QStringList{"command1", "command2", "Frame1"} << false << false;
    QTest::newRow("background restores")
        << QStringList{"command1", "command2", "frmcutting1"} << false << false;
}

void TestNewProjectDialog::hoverColours()
{
    QFETCH(QStringList, path);
    QFETCH(bool, okLit);
    QFETCH(bool, cancelLit);

    waitUnrolled();
    auto *ok = qobject_cast<calculator::ButtonLabel *>(child("command1"));
    auto *cancel = qobject_cast<calculator::ButtonLabel *>(child("command2"));
    QCOMPARE(ok->colour(), QColor(0xC0C0C0));
    QCOMPARE(cancel->colour(), QColor(0xC0C0C0));
    for (const QString &name : path) {
        QWidget *target = name == "frmcutting1" ? m_window->newProjectDialog() : child(name);
        // A spot of the target that none of its children cover.
        QTest::mouseMove(target, QPoint(3, target->height() - 3));
    }
    QTRY_COMPARE(ok->colour(), QColor(okLit ? 0xE0E0E0 : 0xC0C0C0));
    QCOMPARE(cancel->colour(), QColor(cancelLit ? 0xE0E0E0 : 0xC0C0C0));
}

QTEST_MAIN(TestNewProjectDialog)
#include "test_newprojectdialog.moc"
