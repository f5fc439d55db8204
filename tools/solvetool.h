// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zorvik {

// The command-line solver: `zorvik-solve OPERATION [OPTION]... [NAME=TEXT]...` for one page, or
// with --csv [FILE] for one page per CSV row, read from FILE or, when it is absent or "-", from
// in, or `zorvik-solve OPERATION --fields` for the list of fields (--help has every option).
// Texts that are not numbers are warned of on err. Returns the exit status: 0 after the solves,
// 1 after a malformed CSV row or output that cannot be written, or with --strict after texts that
// are not numbers, 2 on bad use (one line on err, nothing on out).
int runSolveTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err);
// The same with nothing on standard input.
int runSolveTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace zorvik
