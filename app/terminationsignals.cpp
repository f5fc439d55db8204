// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/terminationsignals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zorvik {

#ifdef Q_OS_UNIX
namespace {

constexpr int watched[] = {SIGINT, SIGTERM, SIGHUP};

// Only what the handler touches; it may run between any two instructions of the program.
volatile sig_atomic_t writeEnd = -1;
volatile sig_atomic_t alreadyReceived = 0;
struct sigaction previous[std::size(watched)];

extern "C" void onTerminationSignal(int number)
{
    if (alreadyReceived)
        _exit(128 + number);
    alreadyReceived = 1;
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    if (writeEnd >= 0) {
        // A full pipe already holds a wake-up, so a lost byte loses nothing.
        [[maybe_unused]] const ssize_t written = write(writeEnd, &byte, 1);
    }
    errno = savedErrno;
}

bool makePipe(int ends[2])
{
    if (pipe(ends) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        fcntl(ends[i], F_SETFD, FD_CLOEXEC);
        fcntl(ends[i], F_SETFL, fcntl(ends[i], F_GETFL) | O_NONBLOCK);
    }
    return true;
}

// Without its handlers the program still runs, but a signal ends it without the unload step.
void cannotWatch(const char *call)
{
    std::fprintf(stderr,
                 "zorvik: cannot watch for SIGINT, SIGTERM and SIGHUP (%s: %s): one of them "
                 "will end the program without restoring the display\n",
                 call, std::strerror(errno));
}

} // namespace
#endif

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
#ifdef Q_OS_UNIX
    if (!makePipe(m_pipe)) {
        cannotWatch("pipe");
        return;
    }
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
    alreadyReceived = 0;
    writeEnd = m_pipe[1];
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(watched); ++i) {
        if (sigaction(watched[i], &action, &previous[i]) != 0)
            cannotWatch("sigaction");
    }
#endif
}

TerminationSignals::~TerminationSignals()
{
#ifdef Q_OS_UNIX
    if (!m_notifier)
        return;
    for (std::size_t i = 0; i < std::size(watched); ++i)
        sigaction(watched[i], &previous[i], nullptr);
    writeEnd = -1;
    alreadyReceived = 0;
    delete m_notifier;
    close(m_pipe[0]);
    close(m_pipe[1]);
#endif
}

void TerminationSignals::readPipe()
{
#ifdef Q_OS_UNIX
    unsigned char byte = 0;
    while (read(m_pipe[0], &byte, 1) == 1)
        emit received(byte);
#endif
}

void closeLikeExit(QWidget &mainWindow)
{
    // Bounded, in case a box refuses to close: the caller ends the event loop either way.
    for (int tries = 0; tries < 16; ++tries) {
        QWidget *top = QApplication::activePopupWidget();
        if (!top)
            top = QApplication::activeModalWidget();
        if (!top)
            break;
        if (auto *dialog = qobject_cast<QDialog *>(top))
            dialog->reject();
        else
            top->close();
    }
    mainWindow.close();
}

} // namespace zorvik
