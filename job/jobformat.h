// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/job.h"
#include "solver/filebytes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik::job {

// A job as its file holds it: JSON, two spaces of indent, keys in a fixed order so that two
// saves of the same windows are the same bytes and a diff shows only what changed.
std::string writeJob(const Job &job);

// What a value in a job file is, where it is not what the format wants there.
enum class JsonKind { null, object, list, text, flag, number };

// Where in a job file a fault is: the job as a whole, or a window, with its operation, page and
// field where they are known, and the keys of the members into it.
struct JobPlace {
    std::size_t window = 0; // from 1; 0 for the job as a whole
    std::string operation;  // "" before the window's operation is known
    std::optional<std::size_t> page;
    std::string field;
    std::vector<std::string> keys;
};

enum class JobFault {
    file,           // fileError
    tooLarge,       // number: the limit in bytes
    truncated,      // number: the file's size
    notJson,        // number: the byte the parser stopped at
    unreadableJson, // text: the parser's own account (a number too large for any number type)
    notAJob,
    noVersion,
    newerVersion, // number: the file's version
    windowsNotList,
    secondWindow, // text: the operation
    dataAfterEnd, // number: the byte it starts at
    notObject,
    noMember, // text: the key
    notText,
    notFlag,
    notWhole,
    notList,
    notFieldName,
    unknownMember,   // text: the key
    unknownField,    // text: the name
    unknownOrigin,   // text
    noMaterialGroup, // number
    designationWithoutMaterial,
    unknownDesignation,  // text, number: the group
    unknownTool,         // text
    unknownOperation,    // text
    machineKey,          // key
    machineProblem,      // problem
    pageShownOutOfRange, // number: the page, count: the window's pages
    wrongPageCount,      // count: the window's pages
    contradictedOrigin,  // text: the origin stated, found: the one the field's record gives
};

// Why a job is refused: what is wrong, where, and the value or limit it concerns.
struct JobError {
    JobFault fault = JobFault::file;
    std::string file; // the file's name as given
    JobPlace place;
    JsonKind kind = JsonKind::null; // the value of the wrong kind
    std::string text;
    std::int64_t number = 0;
    std::size_t count = 0;
    std::string found;
    std::optional<FileError> fileError;
    MachineRefusal machine;
};

// What reading a job file gave: the job, or why it is refused.
struct JobRead {
    Job job;
    std::optional<JobError> error;
};

// Reads a job from its bytes; file names it in the error. Refuses more than maxJobBytes, text
// that is not JSON, JSON that ends early, more after the end of the job, JSON that is not a job,
// a newer format version, an unknown operation or field, a value of the wrong kind or out of
// range. Nothing a text holds is read as a number.
JobRead readJob(std::string_view bytes, std::string_view file);
// Reads the file at path, refusing a directory, and one larger than maxJobBytes before reading
// more than that. wait comes before each read.
JobRead readJobFile(const std::string &path, ReadWait wait = waitReadable);

} // namespace zorvik::job
