// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorvik::job {

// Who may read a file written anew: what the umask allows, as for any new document, or the
// owner alone, for a file that holds the user's unsaved work behind their back.
enum class FileAccess { Shared, Private };

// Why a file was not written, a directory not made or a lock not taken; the edge words it.
struct FileWriteError {
    int systemError = 0;        // errno
    bool heldElsewhere = false; // a lock another process, or another lock in this one, has
};

// Writes bytes to path through a temporary file beside it that replaces the file only once the
// disk holds every byte. A symbolic link at path is kept, and the file it names replaced. A
// file replaced keeps its permissions (a shared one). Returns why it failed (ENOSPC), with path
// itself left as it was; none when written.
std::optional<FileWriteError> writeFileAtomically(const std::string &path, std::string_view bytes,
                                                  FileAccess access = FileAccess::Shared);

// Creates the directory and those above it that are missing, each readable by the owner alone.
// Returns why it could not; none when the directory is there.
std::optional<FileWriteError> makePrivateDirectories(const std::string &path);

// An exclusive lock on a file, created for the owner alone when missing, held until the object
// goes. Another process, or another lock in this one, on the same file fails to get it.
class FileLock {
public:
    explicit FileLock(const std::string &path);
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    bool held() const { return m_fd >= 0; }
    // Why it is not held; none while held.
    const std::optional<FileWriteError> &error() const { return m_error; }

private:
    int m_fd = -1;
    std::optional<FileWriteError> m_error;
};

} // namespace zorvik::job
