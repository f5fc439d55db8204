// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appicon.h"
#include "app/mainwindow.h"
#include "app/newprojectdialog.h"
#include "app/operationwindows.h"
#include "calculator/calculatorwindow.h"
#include "calculator/scrollframe.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace zorvik;
using calculator::CalculatorWindow;

namespace {

// Icons are compared by the picture they give at a size: that is what a title bar shows.
QImage shown(const QIcon &icon, int side)
{
    return icon.pixmap(side, side).toImage().convertToFormat(QImage::Format_ARGB32);
}

} // namespace

class TestAppIcon : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void everySize_data();
    void everySize();
    void everyWindowShowsIt_data();
    void everyWindowShowsIt();
    void aboutBoxShowsIt();

private:
    MainWindow *m_window = nullptr;
};

void TestAppIcon::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(applicationIcon());
}

void TestAppIcon::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestAppIcon::everySize_data()
{
    QTest::addColumn<int>("side");
    for (int side : {16, 22, 24, 32, 48, 64})
        QTest::addRow("%dpx", side) << side;
}

// Each size a title bar asks for is drawn for that size, not scaled from another one.
void TestAppIcon::everySize()
{
    QFETCH(int, side);
    const QIcon icon = applicationIcon();
    QVERIFY(icon.availableSizes().contains(QSize(side, side)));
    const QImage picture = shown(icon, side);
    QCOMPARE(picture.size(), QSize(side, side));
    // Opaque in the middle, transparent in the rounded corners.
    QCOMPARE(qAlpha(picture.pixel(side / 2, side / 2)), 255);
    QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
}

void TestAppIcon::everyWindowShowsIt_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << QString();
    QTest::newRow("New Project") << QString("New Project");
    for (const OperationDefinition &entry : operationDefinitions())
        QTest::newRow(entry.option.name) << QString(entry.option.name);
}

void TestAppIcon::everyWindowShowsIt()
{
    QFETCH(QString, window);
    m_window = new MainWindow(nullptr, operationChoices());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QWidget *shownWindow = m_window;
    if (window == "New Project") {
        QTRY_VERIFY(m_window->newProjectDialog());
        shownWindow = m_window->newProjectDialog()->parentWidget();
    } else if (!window.isEmpty()) {
        for (const OperationDefinition &entry : operationDefinitions()) {
            if (window == entry.option.name)
                shownWindow =
                    calculator::ScrollFrame::subWindowOf(CalculatorWindow::open(entry, *m_window));
        }
    }
    QVERIFY(qobject_cast<QMdiSubWindow *>(shownWindow) || shownWindow == m_window);
    for (int side : {16, 32})
        QCOMPARE(shown(shownWindow->windowIcon(), side), shown(applicationIcon(), side));
}

void TestAppIcon::aboutBoxShowsIt()
{
    m_window = new MainWindow;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QImage titleBar;
    QImage inside;
    QTimer::singleShot(0, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        titleBar = shown(box->windowIcon(), 16);
        inside = box->iconPixmap().toImage().convertToFormat(QImage::Format_ARGB32);
        box->accept();
    });
    m_window->findChild<QAction *>("mnuabout")->trigger();
    QCOMPARE(titleBar, shown(applicationIcon(), 16));
    QCOMPARE(inside, shown(applicationIcon(), 64));
}

QTEST_MAIN(TestAppIcon)
#include "test_appicon.moc"
