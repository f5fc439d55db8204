// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/processio.h"
#include "tools/solvetool.h"

#include <iostream>
#include <new>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "zorvik-solve " ZORVIK_VERSION "\n";
        return std::cout.flush() ? 0 : 1;
    }
    // SIGPIPE keeps its default: like other filters, the tool ends quietly when the reader of
    // its output has gone, as `| head` does.
    zorvik::catchStopSignals();
    zorvik::FdInput input(0);
    zorvik::FdOutput output(1);
    std::istream in(&input);
    std::ostream out(&output);
    int status;
    try {
        status = zorvik::runSolveTool(args, in, out, std::cerr);
    } catch (const std::bad_alloc &) {
        // Before a batch starts, or on a single page: nothing half-written to take back.
        std::cerr << "zorvik-solve: out of memory\n";
        status = 1;
    }
    zorvik::releaseStopSignals();
    return status;
}
