// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>
#include <string>

namespace zorvik {

// `zorvik-solve --job FILE`: solves every page of a job file, each from its given texts with its
// results blanked, with the material, tool material and machine the job recorded for it, and
// writes one CSV row per page: operation and page first, then every field of the job's
// operations in window order, as a batch writes them (a field the page's operation lacks is
// blank). Disagreements and results beyond the machine are warned of on err. Returns 0, or 1 for
// a job refused (one line on err naming the file and what is wrong, nothing on out), for output
// that cannot be written, or with strict after a warning.
int solveJob(const std::string &path, bool strict, std::ostream &out, std::ostream &err);

} // namespace zorvik
