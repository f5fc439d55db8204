// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "examples/typedpage.h"
#include "solver/solve.h"
#include "tests/support/solvetrace.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorvik::test {

using Writes = std::vector<std::string>;

// One row of an operation's solve table.
struct SolveCase {
    const char *name;
    Texts given;
    Writes writes;                   // every write of the solve, in order: "PASS RULE FIELD TEXT"
    const char *operation = nullptr; // where a table serves several, the one this row is for
};

// One row of a table that looks only at some fields once the solve is done.
struct TextCase {
    const char *name;
    Texts given;
    Texts expected; // field name -> its text after the solve ("" for still blank)
};

// Every write of a solve as Calculate makes it from the typed texts.
inline Writes solvedTrace(std::string_view operationName, const Texts &given)
{
    const OperationDefinition &operation = operationNamed(operationName);
    FieldStore store = typedPage(operation, given);
    return traceSolve(operation.relations, store);
}

inline void expectSolvedTexts(std::string_view operationName, const TextCase &c)
{
    const OperationDefinition &operation = operationNamed(operationName);
    FieldStore store = typedPage(operation, c.given);
    solve(operation.relations, store);
    for (const auto &[name, text] : c.expected)
        EXPECT_EQ(store.text(fieldNamed(operation, name)), text) << name;
}

inline void PrintTo(const SolveCase &c, std::ostream *os)
{
    *os << c.name;
}

inline void PrintTo(const TextCase &c, std::ostream *os)
{
    *os << c.name;
}

// Names each instance of a table after its row.
inline constexpr auto caseName = [](const auto &info) { return std::string(info.param.name); };

} // namespace zorvik::test
