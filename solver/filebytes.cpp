// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/filebytes.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace zorvik {

bool waitReadable(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    // Any other failure is left to the read, which names it.
    while (::poll(&ready, 1, -1) < 0 && errno == EINTR) {
    }
    return true;
}

int openForReading(const std::string &path, std::optional<FileError> &error)
{
    error.reset();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = FileError{FileFault::cannotOpen, errno};
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0)
        error = FileError{FileFault::cannotRead, errno};
    else if (S_ISDIR(status.st_mode))
        error = FileError{FileFault::directory};
    if (error) {
        ::close(fd);
        return -1;
    }
    // From here reads wait, each after the wait a caller may stop: a FIFO's for its writer too.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileBytes readFileBytes(const std::string &path, std::size_t most, ReadWait wait)
{
    FileBytes file;
    const int fd = openForReading(path, file.error);
    if (fd < 0)
        return file;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::size_t>(status.st_size) > most)
        file.error = FileError{FileFault::tooLarge, 0, most};
    constexpr std::size_t piece = 64 * 1024;
    while (!file.error) {
        if (!wait(fd)) {
            file.error = FileError{FileFault::notReadToEnd};
            break;
        }
        const std::size_t at = file.bytes.size();
        file.bytes.resize(std::min(at + piece, most + 1));
        const ssize_t got = ::read(fd, file.bytes.data() + at, file.bytes.size() - at);
        file.bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            file.error = FileError{FileFault::cannotRead, errno};
        else if (file.bytes.size() > most)
            file.error = FileError{FileFault::tooLarge, 0, most};
    }
    ::close(fd);
    if (file.error)
        file.bytes.clear();
    return file;
}

} // namespace zorvik
