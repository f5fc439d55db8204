// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorvik {

// Waits until fd has input, or its end, to read; false when a stop ended the wait instead. The
// command-line tool lets its stop signals in for the wait.
using ReadWait = bool (*)(int fd);
// Waits for as long as it takes.
bool waitReadable(int fd);

// Opens path for reading. A FIFO is opened without waiting for its writer: the wait before the
// first read waits for it, and can be stopped, where open() could not be. A directory is refused.
// Returns the descriptor, or -1 with error saying why: "is a directory", "cannot be opened (…)".
int openForReading(const std::string &path, std::string &error);

// A whole file, read through a limit.
struct FileBytes {
    std::string bytes;
    std::string error; // without the file's name: "is a directory"; "" when it was read
};

// Reads the file at path if it has at most most bytes: a regular file is refused by its size,
// unread, anything else (a FIFO, a device) once it has given one byte more, so that no file
// grows memory beyond the limit. what names what the file holds ("a job"), for the refusal.
// wait comes before each read.
FileBytes readFileBytes(const std::string &path, std::size_t most, std::string_view what,
                        ReadWait wait = waitReadable);

// The refusal of more than most bytes (a whole number of KiB): "larger than a job can be: more
// than 10 MiB (10 485 760 bytes)", exact whatever the size.
std::string tooLargeText(std::string_view what, std::size_t most);

} // namespace zorvik
