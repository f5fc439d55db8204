// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/job.h"
#include "solver/filebytes.h"

#include <string>
#include <string_view>

namespace zorvik::job {

// A job as its file holds it: JSON, two spaces of indent, keys in a fixed order so that two
// saves of the same windows are the same bytes and a diff shows only what changed.
std::string writeJob(const Job &job);

// What reading a job file gave: the job, or why it is refused, naming the file first
// ("'bracket.zorvik': truncated: …").
struct JobRead {
    Job job;
    std::string error; // "" when the job was read
};

// Reads a job from its bytes. file names it in the error. Refuses, with a message saying what is
// wrong: more than maxJobBytes, text that is not JSON, JSON that ends early, more after the end
// of the job, JSON that is not a job, a newer format version, an unknown operation or field, a
// value of the wrong kind or out of range. Nothing a text holds is read as a number.
JobRead readJob(std::string_view bytes, std::string_view file);
// Reads the file at path, refusing a directory, and one larger than maxJobBytes before reading
// more than that. wait comes before each read.
JobRead readJobFile(const std::string &path, ReadWait wait = waitReadable);

} // namespace zorvik::job
