// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zorvik {

// Waits until fd has input, or its end, to read; false when a stop ended the wait instead. The
// command-line tool lets its stop signals in for the wait.
using ReadWait = bool (*)(int fd);
// Waits for as long as it takes.
bool waitReadable(int fd);

// Why a file was not read; the edge words it.
enum class FileFault { cannotOpen, cannotRead, directory, tooLarge, notReadToEnd };
struct FileError {
    FileFault fault;
    int systemError = 0;  // errno, where opening or reading failed
    std::size_t most = 0; // the limit in bytes, where the file is larger
};

// Opens path for reading. A FIFO is opened without waiting for its writer: the wait before the
// first read waits for it, and can be stopped, where open() could not be. A directory is refused.
// Returns the descriptor, or -1 with error saying why.
int openForReading(const std::string &path, std::optional<FileError> &error);

// A whole file, read through a limit.
struct FileBytes {
    std::string bytes;
    std::optional<FileError> error; // none when it was read
};

// Reads the file at path if it has at most most bytes: a regular file is refused by its size,
// unread, anything else (a FIFO, a device) once it has given one byte more, so that no file
// grows memory beyond the limit. wait comes before each read.
FileBytes readFileBytes(const std::string &path, std::size_t most, ReadWait wait = waitReadable);

} // namespace zorvik
