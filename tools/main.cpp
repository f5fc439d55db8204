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
    return zorvik::runSolveTool(args, std::cin, std::cout, std::cerr);
}
