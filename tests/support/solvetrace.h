// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/solve.h"

#include <string>
#include <vector>

namespace zorvik::test {

// Every write of a solve, in order, as the command-line trace prints it: "PASS RULE NAME TEXT".
inline std::vector<std::string> traceSolve(const RelationList &list, FieldStore &store)
{
    std::vector<std::string> writes;
    solve(list, store,
          [&](int pass, std::string_view rule, FieldId field, const std::string &text) {
              writes.push_back(std::to_string(pass) + ' ' + std::string(rule) + ' ' +
                               std::string(list.fields[static_cast<std::size_t>(field)]) + ' ' +
                               text);
          });
    return writes;
}

} // namespace zorvik::test
