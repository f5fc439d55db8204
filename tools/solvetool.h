#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zorvik {

// The command-line solver: `zorvik-solve OPERATION [--trace] [NAME=TEXT]...`. Returns the exit
// status: 0 after a solve, 2 on bad use (one line on err, nothing on out).
int runSolveTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace zorvik
