// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/filewrite.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zorvik::job {

namespace {

FileWriteError systemError(int error)
{
    return {error, false};
}

// The file a write to path replaces: a link's target, so that the link itself stays a link.
std::string replacedFile(const std::string &path)
{
    struct stat status;
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    std::error_code error;
    const std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

mode_t newFileMode(const std::string &target, FileAccess access)
{
    if (access == FileAccess::Private)
        return S_IRUSR | S_IWUSR;
    struct stat status;
    if (::stat(target.c_str(), &status) == 0 && S_ISREG(status.st_mode))
        return status.st_mode & 07777;
    // The umask can only be read by setting it; nothing else in the program changes it.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Every byte, through interruptions and partial writes; a write that takes nothing is a full
// disk by another name.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        if (written == 0)
            return ENOSPC;
        bytes.remove_prefix(std::size_t(written));
    }
    return 0;
}

// Why the temporary file could not be made whole; 0 when it is on the disk and closed.
int fillTemporary(int fd, std::string_view bytes, mode_t mode)
{
    int error = ::fchmod(fd, mode) == 0 ? 0 : errno;
    if (!error)
        error = writeAll(fd, bytes);
    if (!error && ::fsync(fd) != 0)
        error = errno;
    // A file system may report a lost write only when the file is closed.
    if (::close(fd) != 0 && !error && errno != EINTR)
        error = errno;
    return error;
}

} // namespace

std::optional<FileWriteError> writeFileAtomically(const std::string &path, std::string_view bytes,
                                                  FileAccess access)
{
    const std::filesystem::path target = replacedFile(path);
    std::filesystem::path directory = target.parent_path();
    if (directory.empty())
        directory = ".";
    std::string name = (directory / ("." + target.filename().string() + ".XXXXXX")).string();
    std::vector<char> temporary(name.begin(), name.end());
    temporary.push_back('\0');
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return systemError(errno);
    int error = fillTemporary(fd, bytes, newFileMode(target.string(), access));
    if (!error && ::rename(temporary.data(), target.c_str()) != 0)
        error = errno;
    if (error) {
        ::unlink(temporary.data());
        return systemError(error);
    }
    // The new name on the disk too. The file is replaced by now, so a directory that cannot be
    // synced (some file systems refuse) is no failure to report.
    const int dirFd = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
    return {};
}

std::optional<FileWriteError> makePrivateDirectories(const std::string &path)
{
    std::filesystem::path built;
    for (const std::filesystem::path &part : std::filesystem::path(path)) {
        built /= part;
        if (::mkdir(built.c_str(), S_IRWXU) != 0 && errno != EEXIST)
            return systemError(errno);
    }
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return systemError(errno);
    if (!S_ISDIR(status.st_mode))
        return systemError(ENOTDIR);
    return std::nullopt;
}

FileLock::FileLock(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0) {
        m_error = systemError(errno);
        return;
    }
    int result;
    do
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result != 0) {
        m_error = errno == EWOULDBLOCK ? FileWriteError{0, true} : systemError(errno);
        ::close(fd);
        return;
    }
    m_fd = fd;
}

FileLock::~FileLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

} // namespace zorvik::job
