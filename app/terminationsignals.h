// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QSocketNotifier;
class QWidget;

namespace zorvik {

// SIGINT, SIGTERM and SIGHUP (Ctrl+C in a terminal, kill, a logout or shutdown) arrive in the
// event loop as received(), so the program can close the way File > Exit does and give the
// display mode back. The handler itself only writes the signal number into a pipe. Once one
// has arrived, another of them ends the process at once with status 128 + its number, for a
// close that hangs. One instance at a time; destroying it puts the previous handlers back.
class TerminationSignals : public QObject {
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False where the platform has no such signals or the pipe could not be made.
    bool isWatching() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPipe();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};

// What File > Exit does, from outside any menu: a modal box or an open menu runs an event loop
// of its own, so those close first; then the main window closes, its children with it, and its
// unload step restores the display.
void closeLikeExit(QWidget &mainWindow);

} // namespace zorvik
