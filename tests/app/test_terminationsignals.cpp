// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/mainwindow.h"
#include "app/terminationsignals.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace zorvik;

namespace {

// Counts unload steps and the child windows still open at each.
class CountingHooks : public DisplayHooks {
public:
    CountingHooks(int *unloads, int *openAtUnload) : m_unloads(unloads), m_open(openAtUnload) {}
    void load(QWidget *mainWindow) override { m_main = mainWindow; }
    void unload() override
    {
        ++*m_unloads;
        *m_open = 0;
        for (QMdiSubWindow *sub : m_main->findChild<QMdiArea *>()->subWindowList())
            *m_open += sub->isVisible() ? 1 : 0;
    }

private:
    int *m_unloads;
    int *m_open;
    QWidget *m_main = nullptr;
};

void addSignalRows()
{
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
}

} // namespace

class TestTerminationSignals : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void signalClosesLikeExit_data() { addSignalRows(); }
    void signalClosesLikeExit();
    void signalDuringModalBox();
    void signalWithMenuOpen();
    void secondSignalEndsAtOnce_data() { addSignalRows(); }
    void secondSignalEndsAtOnce();
    void handlersPutBack();

private:
    MainWindow *m_window = nullptr;
    int m_unloads = 0;
    int m_openAtUnload = -1;
};

void TestTerminationSignals::init()
{
    QApplication::setQuitOnLastWindowClosed(false);
    m_unloads = 0;
    m_openAtUnload = -1;
    m_window = new MainWindow(std::make_unique<CountingHooks>(&m_unloads, &m_openAtUnload));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QTRY_VERIFY(m_window->newProjectDialog());
}

void TestTerminationSignals::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestTerminationSignals::signalClosesLikeExit()
{
    QFETCH(int, signalNumber);
    TerminationSignals termination;
    QVERIFY(termination.isWatching());
    QSignalSpy spy(&termination, &TerminationSignals::received);
    connect(&termination, &TerminationSignals::received, m_window,
            [this] { closeLikeExit(*m_window); });

    QCOMPARE(raise(signalNumber), 0);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), signalNumber);
    QCOMPARE(m_unloads, 1);
    QCOMPARE(m_openAtUnload, 0);
    QVERIFY(!m_window->isVisible());
}

// The About box runs its own event loop; the signal must not wait for the user to press OK.
void TestTerminationSignals::signalDuringModalBox()
{
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, m_window,
            [this] { closeLikeExit(*m_window); });
    bool boxSeen = false;
    QTimer::singleShot(0, this, [&boxSeen] {
        boxSeen = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()) != nullptr;
        raise(SIGTERM);
    });
    m_window->findChild<QAction *>("mnuabout")->trigger();
    QVERIFY(boxSeen);
    QTRY_COMPARE(m_unloads, 1);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(!m_window->isVisible());
}

void TestTerminationSignals::signalWithMenuOpen()
{
    TerminationSignals termination;
    connect(&termination, &TerminationSignals::received, m_window,
            [this] { closeLikeExit(*m_window); });
    auto *menu = m_window->findChild<QMenu *>("mnuwindow");
    menu->popup(m_window->mapToGlobal(QPoint(20, 20)));
    QTRY_VERIFY(QApplication::activePopupWidget());
    raise(SIGHUP);
    QTRY_COMPARE(m_unloads, 1);
    QVERIFY(!QApplication::activePopupWidget());
}

// Run in a child process: only async-signal-safe calls happen there between the fork and its
// end, and the report pipe says whether it lived through the first signal.
void TestTerminationSignals::secondSignalEndsAtOnce()
{
    QFETCH(int, signalNumber);
    TerminationSignals termination;
    int report[2];
    QCOMPARE(pipe(report), 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        close(report[0]);
        raise(signalNumber);
        const char alive = 'a';
        [[maybe_unused]] const ssize_t written = write(report[1], &alive, 1);
        raise(signalNumber);
        _exit(0);
    }
    close(report[1]);
    char seen = 0;
    const ssize_t got = read(report[0], &seen, 1);
    close(report[0]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QCOMPARE(got, ssize_t(1));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 128 + signalNumber);
}

void TestTerminationSignals::handlersPutBack()
{
    struct sigaction before = {};
    sigaction(SIGTERM, nullptr, &before);
    {
        TerminationSignals termination;
        struct sigaction during = {};
        sigaction(SIGTERM, nullptr, &during);
        QVERIFY(during.sa_handler != before.sa_handler);
    }
    struct sigaction after = {};
    sigaction(SIGTERM, nullptr, &after);
    QVERIFY(after.sa_handler == before.sa_handler);
}

QTEST_MAIN(TestTerminationSignals)
#include "test_terminationsignals.moc"
