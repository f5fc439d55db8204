// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/filebytes.h"

#include "solver/conversions.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace zorvik {

namespace {

std::string systemText(int error)
{
    return std::generic_category().message(error);
}

} // namespace

bool waitReadable(int fd)
{
    pollfd ready{fd, POLLIN, 0};
    // Any other failure is left to the read, which names it.
    while (::poll(&ready, 1, -1) < 0 && errno == EINTR) {
    }
    return true;
}

int openForReading(const std::string &path, std::string &error)
{
    error.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot be opened (" + systemText(errno) + ")";
        return -1;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0)
        error = "cannot be read (" + systemText(errno) + ")";
    else if (S_ISDIR(status.st_mode))
        error = "is a directory";
    if (!error.empty()) {
        ::close(fd);
        return -1;
    }
    // From here reads wait, each after the wait a caller may stop: a FIFO's for its writer too.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

FileBytes readFileBytes(const std::string &path, std::size_t most, std::string_view what,
                        ReadWait wait)
{
    FileBytes file;
    const int fd = openForReading(path, file.error);
    if (fd < 0)
        return file;
    struct stat status;
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) &&
        static_cast<std::size_t>(status.st_size) > most)
        file.error = tooLargeText(what, most);
    constexpr std::size_t piece = 64 * 1024;
    while (file.error.empty()) {
        if (!wait(fd)) {
            file.error = "was not read to its end";
            break;
        }
        const std::size_t at = file.bytes.size();
        file.bytes.resize(std::min(at + piece, most + 1));
        const ssize_t got = ::read(fd, file.bytes.data() + at, file.bytes.size() - at);
        file.bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0)
            break;
        if (got < 0 && errno != EINTR)
            file.error = "cannot be read (" + systemText(errno) + ")";
        else if (file.bytes.size() > most)
            file.error = tooLargeText(what, most);
    }
    ::close(fd);
    if (!file.error.empty())
        file.bytes.clear();
    return file;
}

std::string tooLargeText(std::string_view what, std::size_t most)
{
    constexpr std::size_t mebibyte = 1024 * 1024;
    const bool mebibytes = most % mebibyte == 0;
    return "larger than " + std::string(what) + " can be: more than " +
           std::to_string(most / (mebibytes ? mebibyte : 1024)) + (mebibytes ? " MiB" : " KiB") +
           " (" + groupedWholeNumber(most) + " bytes)";
}

} // namespace zorvik
