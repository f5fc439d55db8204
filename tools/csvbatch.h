// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/operation.h"

#include <iosfwd>

namespace zorvik {

// Solves one page per CSV row read from in: each row starts from base (the default texts and the
// texts shared by every row), then takes its own cells, and comes out on out as a row of every
// field in the window's order, under a header of their names, in input order. jobs rows solve in
// parallel. Returns the exit status: 0, 1 after a malformed row (the rows before it are written,
// nothing of it or after it) or 2 for a header that names no page of the operation; one line on
// err for either.
int runCsvBatch(const OperationDefinition &operation, const FieldStore &base, unsigned jobs,
                std::istream &in, std::ostream &out, std::ostream &err);

// Says on err that the output could not be written (a full disk, a closed pipe); returns the
// exit status for it.
int reportUnwrittenOutput(std::ostream &err);

} // namespace zorvik
