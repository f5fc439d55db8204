// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <iosfwd>
#include <streambuf>

namespace zorvik {

// Reads a file descriptor with the system calls themselves, so that a failed read is an error
// (an exception out of sgetn) and not the end of the input, as the C library's stdin makes it.
// Made for the batch's reading loop, not for istream::read: sgetn gives what one read gives,
// which for a pipe may be fewer bytes than asked; only nothing is the end of the input, or a
// stop signal caught. in_avail() is 0 when a read would wait for input.
class FdInput : public std::streambuf {
public:
    // owned: the descriptor is closed with the buffer.
    explicit FdInput(int fd, bool owned = false);
    ~FdInput() override;
    FdInput(const FdInput &) = delete;
    FdInput &operator=(const FdInput &) = delete;

protected:
    int_type underflow() override;
    std::streamsize xsgetn(char *to, std::streamsize count) override;
    std::streamsize showmanyc() override;

private:
    // What one read gave: 0 at the end of the input or after a stop signal; throws on a fault,
    // and at every read after it.
    std::streamsize readSome(char *to, std::streamsize count);

    int m_fd;
    bool m_owned;
    bool m_atEnd = false;
    int m_fault = 0;
    char m_byte = 0;
};

// Writes a file descriptor, unbuffered, each piece given to it in full: the batch hands it whole
// rows at a time. When a write fails part-way into a piece and the output is a regular file (a
// full disk, a file size limit), the file is cut back to where the piece began, so that it still
// ends on a whole row.
//
// Into a pipe, while stop signals are caught, a piece goes in parts of at most atomicWriteBytes,
// each after a wait for room with the signals let in, so that a reader that has stopped reading
// (a paused pager) cannot hold a stop signal off. A part fits the room its wait found and goes
// in whole; a stop signal leaves the rest of the piece unwritten. A piece of at most
// atomicWriteBytes, which the batch's rows come in where they fit, is thus written whole or not
// at all; a longer one may be cut after a whole number of parts.
class FdOutput : public std::streambuf {
public:
    explicit FdOutput(int fd);
    // PIPE_BUF for a pipe, 0 (any) for anything else.
    std::size_t atomicBytes() const { return m_atomicBytes; }

protected:
    int_type overflow(int_type byte) override;
    std::streamsize xsputn(const char *from, std::streamsize count) override;

private:
    int m_fd;
    std::size_t m_atomicBytes = 0;
};

// Waits until fd has input, or its end, to read: while stop signals are caught, with them let in
// for the wait, and false once one has come. A ReadWait for the files the tool reads.
bool waitForInput(int fd);

// The most bytes out takes at once and still stops between them: FdOutput's atomicBytes, 0 for
// any other stream.
std::size_t atomicWriteBytes(std::ostream &out);

// SIGINT, SIGTERM and SIGHUP end a run between rows instead of inside one: from this call on
// they are blocked, and taken only while the tool waits (to read any input, to write into a
// pipe), which then reads or writes no more; the run writes the rows it has in hand and returns.
// SIGXFSZ is ignored, so that a file size limit is a failed write.
void catchStopSignals();
// The stop signal caught, or 0.
int caughtStopSignal();
// Gives the stop signals their default action back: a caught one, or one still waiting, then
// ends the process, so that its parent sees the status of that signal (128 + N in a shell).
void releaseStopSignals();

} // namespace zorvik
