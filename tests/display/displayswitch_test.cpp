// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "displayswitch.h"
#include "fakedisplayplatform.h"

#include <QAction>
#include <QScreen>
#include <QtTest>

#include <limits>

using namespace zorvik;
using namespace zorvik::display;

namespace {

QStringList toList(const FakeDisplayPlatform::Log &log)
{
    QStringList list;
    for (const std::string &line : log)
        list << QString::fromStdString(line);
    return list;
}

QStringList askedFor(int x, int y, int bits)
{
    return toList(display::askedFor(x, y, bits));
}

} // namespace

class TestDisplaySwitch : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void roundedPixels_data();
    void roundedPixels();
    void mainWindowSteps_data();
    void mainWindowSteps();
    void destroyedWithoutUnloadRestores();
    void offscreenRefusesTheChange();

private:
    // Builds hooks over a fake that logs into m_log; the fake sees m_window at its open.
    std::unique_ptr<DisplayHooks> fakeHooks(std::deque<std::int32_t> results);

    std::shared_ptr<FakeDisplayPlatform::Log> m_log;
    QStringList m_visibleAtOpen;
};

void TestDisplaySwitch::initTestCase()
{
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestDisplaySwitch::roundedPixels_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("rounded");
    QTest::newRow("whole") << 1024.0 << 1024;
    QTest::newRow("half up") << 2.5 << 3;
    QTest::newRow("just under half") << 600.4999999 << 600;
    QTest::newRow("scaled width") << 1366.5 << 1367;
    QTest::newRow("negative half") << -2.5 << -3;
    QTest::newRow("too large") << 1e12 << std::numeric_limits<int>::max();
    QTest::newRow("too small") << -1e12 << std::numeric_limits<int>::min();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << 0;
}

void TestDisplaySwitch::roundedPixels()
{
    QFETCH(double, value);
    QFETCH(int, rounded);
    QCOMPARE(display::roundedPixels(value), rounded);
}

std::unique_ptr<DisplayHooks> TestDisplaySwitch::fakeHooks(std::deque<std::int32_t> results)
{
    m_log = std::make_shared<FakeDisplayPlatform::Log>();
    m_visibleAtOpen.clear();
    return std::make_unique<DisplaySwitch>([this, results](QWidget *mainWindow) {
        auto platform = std::make_unique<FakeDisplayPlatform>(m_log);
        platform->depth = 16;
        platform->fullScreenResults = results;
        platform->onOpen = [this, mainWindow] {
            m_visibleAtOpen << (mainWindow->isVisible() ? "visible" : "hidden");
        };
        return platform;
    });
}

void TestDisplaySwitch::mainWindowSteps_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("refused");
    QTest::newRow("close box") << "close" << false;
    QTest::newRow("Exit menu") << "mnuexit" << false;
    QTest::newRow("Ctrl+Q") << "ctrl+q" << false;
    QTest::newRow("refused, close box") << "close" << true;
    QTest::newRow("refused, Exit menu") << "mnuexit" << true;
}

void TestDisplaySwitch::mainWindowSteps()
{
    QFETCH(QString, how);
    QFETCH(bool, refused);
    std::deque<std::int32_t> results;
    if (refused)
        results = {changeBadMode, changeBadMode};
    MainWindow window(fakeHooks(results));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(m_visibleAtOpen, QStringList{"hidden"});

    const QScreen *screen = window.screen();
    const int width = qRound(screen->geometry().width() * screen->devicePixelRatio());
    const int height = qRound(screen->geometry().height() * screen->devicePixelRatio());
    QStringList expected{"open", "depth"};
    expected << askedFor(800, 600, 16);
    QCOMPARE(toList(*m_log), expected);

    if (how == "close") {
        window.close();
    } else if (how == "ctrl+q") {
        QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    } else {
        auto *exit = window.findChild<QAction *>(how);
        QVERIFY(exit);
        exit->trigger();
    }
    QTRY_VERIFY(!window.isVisible());
    expected << "depth" << askedFor(width, height, 16) << "release";
    QCOMPARE(toList(*m_log), expected);

    window.close();
    QCOMPARE(toList(*m_log), expected);
}

void TestDisplaySwitch::destroyedWithoutUnloadRestores()
{
    auto hooks = fakeHooks({});
    QWidget mainWindow;
    hooks->load(&mainWindow);
    const QScreen *screen = mainWindow.screen();
    const int width = qRound(screen->geometry().width() * screen->devicePixelRatio());
    const int height = qRound(screen->geometry().height() * screen->devicePixelRatio());
    m_log->clear();
    hooks.reset();
    QCOMPARE(toList(*m_log), QStringList{"depth"} << askedFor(width, height, 16) << "release");
}

void TestDisplaySwitch::offscreenRefusesTheChange()
{
    QWidget mainWindow;
    auto platform = platformFactory()(&mainWindow);
    QVERIFY(platform);
    QVERIFY(!dynamic_cast<FakeDisplayPlatform *>(platform.get()));
    platform->openDisplayContext();
    QCOMPARE(platform->colourDepth(), mainWindow.screen()->depth());
    DisplaySettings record;
    record.fields = fieldsBitsWidthHeight;
    record.pelsWidth = 800;
    record.pelsHeight = 600;
    record.bitsPerPel = std::uint32_t(mainWindow.screen()->depth());
    QCOMPARE(platform->changeSettings(record, changeFullScreen), changeBadMode);
    platform->releaseDisplayContext();
}

QTEST_MAIN(TestDisplaySwitch)
#include "displayswitch_test.moc"
