// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/cuttingdata.h"
#include "operations/machine.h"
#include "operations/materials.h"
#include "operations/operation.h"
#include "tools/numbercells.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zorvik {

struct CsvBatchOptions {
    unsigned jobs = 1;         // rows solved at once
    char separator = '\0';     // ',', ';' or '\t'; '\0' takes it from the header
    bool decimalComma = false; // as with ';' or '\t', whatever the separator
    bool captions = false;     // the output header names fields by their captions
    // The output's columns as the input's, then the fields it lacks; else the kept columns,
    // then every field.
    bool inputColumns = false;
    std::size_t writePiece = 0;    // the most bytes written at once, 0 for no limit
    std::string encoding;          // of the input when not UTF-8: "windows-1252" or "latin1"
    bool strict = false;           // a text that is not a number makes the exit status 1
    std::vector<std::string> keep; // header columns that are no fields, copied to the output
    std::vector<GivenText> shared; // set in every row, before its cells
    // Sets a blank specific cutting force in every row; a column "material" sets one per row.
    const materials::MaterialGroup *material = nullptr;
    // With a material, sets a blank cutting speed and feed in every row; a column "tool" sets one
    // per row.
    std::optional<cuttingdata::Tool> tool;
    // Every row's results are checked against it, a warning for each beyond it.
    const Machine *machine = nullptr;
    std::string inputName; // the file read, for a message; "" for standard input
};

// Solves one page per CSV row read from in: each row starts from the default texts and the
// shared texts, then takes its own cells, and comes out on out as its kept cells, then every
// field in the window's order, under a header of their names (or captions), in input order.
// Returns the exit status: 0, 1 after a malformed row (the rows before it are written, nothing
// of it or after it) or after texts that are not numbers with strict, or 2 for a header that
// names no page of the operation; one line on err for either, and one per text that is not a
// number.
int runCsvBatch(const OperationDefinition &operation, const CsvBatchOptions &options,
                std::istream &in, std::ostream &out, std::ostream &err);

// Says on err that the output could not be written (a full disk, a closed pipe); returns the
// exit status for it.
int reportUnwrittenOutput(std::ostream &err);

} // namespace zorvik
