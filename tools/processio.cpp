// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/processio.h"

#include "solver/filebytes.h"

#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ostream>
#include <system_error>

namespace zorvik {

namespace {

constexpr int stopSignals[] = {SIGINT, SIGTERM, SIGHUP};

volatile std::sig_atomic_t caught = 0;
bool catching = false;
bool caughtBy[std::size(stopSignals)] = {};
// The mask the process came with, which waiting for input puts back for the moment of the wait.
sigset_t originalMask;

extern "C" void onStopSignal(int signal)
{
    caught = signal;
}

// A ppoll whose descriptor is ready returns without taking a signal that waits: with input
// always there, one would wait for ever. The signal then waits blocked, and is taken at the end.
int waitingStopSignal()
{
    sigset_t waiting;
    sigpending(&waiting);
    for (std::size_t i = 0; i < std::size(stopSignals); ++i) {
        if (caughtBy[i] && sigismember(&waiting, stopSignals[i]) &&
            !sigismember(&originalMask, stopSignals[i]))
            return stopSignals[i];
    }
    return 0;
}

// Waits, while stop signals are caught, until fd is ready for events; false when a stop signal
// came first. The signals are blocked but for this wait, so that one that comes between the
// check and the wait cannot leave the wait waiting for ever.
bool waitFor(int fd, short events)
{
    pollfd ready{fd, events, 0};
    for (;;) {
        if (!caught)
            caught = waitingStopSignal();
        if (caught)
            return false;
        if (::ppoll(&ready, 1, nullptr, &originalMask) >= 0)
            return true;
        if (errno != EINTR)
            throw std::system_error(errno, std::generic_category(), "poll");
    }
}

} // namespace

bool waitForInput(int fd)
{
    return catching ? waitFor(fd, POLLIN) : waitReadable(fd);
}

FdInput::FdInput(int fd, bool owned) : m_fd(fd), m_owned(owned) {}

FdInput::~FdInput()
{
    if (m_owned)
        ::close(m_fd);
}

std::streamsize FdInput::readSome(char *to, std::streamsize count)
{
    // A fault is not read past: the bytes after a failed read may never arrive.
    if (m_fault)
        throw std::system_error(m_fault, std::generic_category(), "read");
    if (m_atEnd)
        return 0;
    for (;;) {
        if (!waitForInput(m_fd))
            return 0;
        const ssize_t got = ::read(m_fd, to, static_cast<std::size_t>(count));
        if (got > 0)
            return got;
        if (got == 0) {
            m_atEnd = true;
            return 0;
        }
        if (errno != EINTR) {
            m_fault = errno;
            throw std::system_error(m_fault, std::generic_category(), "read");
        }
    }
}

FdInput::int_type FdInput::underflow()
{
    if (readSome(&m_byte, 1) == 0)
        return traits_type::eof();
    setg(&m_byte, &m_byte, &m_byte + 1);
    return traits_type::to_int_type(m_byte);
}

std::streamsize FdInput::xsgetn(char *to, std::streamsize count)
{
    if (count <= 0)
        return 0;
    if (gptr() < egptr()) {
        *to = *gptr();
        gbump(1);
        return 1;
    }
    return readSome(to, count);
}

std::streamsize FdInput::showmanyc()
{
    if (gptr() < egptr())
        return egptr() - gptr();
    pollfd ready{m_fd, POLLIN, 0};
    return ::poll(&ready, 1, 0) == 1 ? 1 : 0;
}

FdOutput::FdOutput(int fd) : m_fd(fd)
{
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode))
        m_atomicBytes = PIPE_BUF;
}

std::size_t atomicWriteBytes(std::ostream &out)
{
    const auto *output = dynamic_cast<const FdOutput *>(out.rdbuf());
    return output ? output->atomicBytes() : 0;
}

FdOutput::int_type FdOutput::overflow(int_type byte)
{
    if (traits_type::eq_int_type(byte, traits_type::eof()))
        return traits_type::not_eof(byte);
    const char c = traits_type::to_char_type(byte);
    return xsputn(&c, 1) == 1 ? byte : traits_type::eof();
}

std::streamsize FdOutput::xsputn(const char *from, std::streamsize count)
{
    // Into a pipe, each piece of at most PIPE_BUF goes in whole once there is room for it, and a
    // stop signal is let in before each: a reader that has stopped reading cannot hold it off.
    const bool waits = catching && m_atomicBytes > 0;
    std::streamsize done = 0;
    while (done < count) {
        std::size_t piece = static_cast<std::size_t>(count - done);
        if (waits) {
            piece = std::min(piece, m_atomicBytes);
            if (!waitFor(m_fd, POLLOUT))
                return done;
        }
        const ssize_t wrote = ::write(m_fd, from + done, piece);
        if (wrote > 0)
            done += wrote;
        else if (wrote < 0 && errno == EINTR)
            continue;
        else
            break;
    }
    struct stat status;
    if (done > 0 && done < count && ::fstat(m_fd, &status) == 0 && S_ISREG(status.st_mode)) {
        const off_t end = ::lseek(m_fd, 0, SEEK_CUR);
        if (end >= done && ::ftruncate(m_fd, end - done) == 0 &&
            ::lseek(m_fd, end - done, SEEK_SET) >= 0)
            done = 0;
    }
    return done;
}

void catchStopSignals()
{
    sigset_t stop;
    sigemptyset(&stop);
    for (int signal : stopSignals)
        sigaddset(&stop, signal);
    pthread_sigmask(SIG_BLOCK, &stop, &originalMask);
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < std::size(stopSignals); ++i) {
        // A signal the parent ignores, as nohup does SIGHUP, stays ignored.
        struct sigaction before {};
        sigaction(stopSignals[i], nullptr, &before);
        if (before.sa_handler == SIG_IGN)
            continue;
        sigaction(stopSignals[i], &action, nullptr);
        caughtBy[i] = true;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    catching = true;
}

int caughtStopSignal()
{
    return caught;
}

void releaseStopSignals()
{
    if (!catching)
        return;
    catching = false;
    for (std::size_t i = 0; i < std::size(stopSignals); ++i) {
        if (caughtBy[i])
            std::signal(stopSignals[i], SIG_DFL);
    }
    if (caught)
        std::raise(caught);
    pthread_sigmask(SIG_SETMASK, &originalMask, nullptr);
}

} // namespace zorvik
