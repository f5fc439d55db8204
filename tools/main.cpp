// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/solvetool.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "zorvik-solve " ZORVIK_VERSION "\n";
        return std::cout.flush() ? 0 : 1;
    }
    int status = zorvik::runSolveTool(args, std::cin, std::cout, std::cerr);
    // The last of the output may fail only here, as on a full disk; a run that reported
    // nothing else must not end as a success.
    if (!std::cout.flush() && status == 0) {
        std::cerr << "zorvik-solve: the output could not be written\n";
        status = 1;
    }
    return status;
}
