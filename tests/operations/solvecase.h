#pragma once

#include "solvecheck.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace zorvik::test {

using Texts = std::vector<std::pair<std::string, std::string>>;
using Writes = std::vector<std::string>;

// One row of an operation's solve table.
struct SolveCase {
    const char *name;
    Texts given;
    Writes writes; // every write of the solve, in order: "PASS RULE FIELD TEXT"
};

// Every write of a solve as Calculate makes it: defaults, the typed texts, what the window has
// already done with them (prepare), then the solve.
inline Writes solvedTrace(const char *operationName, const Texts &given)
{
    const OperationDefinition &operation = *findOperation(operationName);
    FieldStore store = storeWith(operation, given);
    if (operation.prepare)
        operation.prepare(store);
    return traceSolve(operation.relations, store);
}

inline void PrintTo(const SolveCase &c, std::ostream *os)
{
    *os << c.name;
}

inline std::string caseName(const testing::TestParamInfo<SolveCase> &info)
{
    return info.param.name;
}

} // namespace zorvik::test
