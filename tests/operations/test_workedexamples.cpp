// SPDX-License-Identifier: GPL-3.0-or-later
#include "solvecase.h"

#include <gtest/gtest.h>

using namespace zorvik;
using namespace zorvik::test;

namespace {

class WorkedExampleSolve : public testing::TestWithParam<WorkedExample> {};

// A window test checks the results list field by field, so it must hold the final text of every
// field the solve writes, and nothing else may change.
TEST_P(WorkedExampleSolve, WritesTheTraceAndEndsWithTheResults)
{
    const WorkedExample &example = GetParam();
    const OperationDefinition &operation = operationNamed(example.operation);
    FieldStore store = typedPage(operation, example.typed);
    const FieldStore typed = store;
    EXPECT_EQ(traceSolve(operation.relations, store),
              Writes(example.trace.begin(), example.trace.end()));
    for (std::size_t i = 0; i < store.size(); ++i) {
        std::string_view name = operation.relations.fields[i];
        FieldId field = static_cast<FieldId>(i);
        std::string expected = typed.text(field);
        for (const auto &[written, text] : example.results) {
            if (written == name)
                expected = text;
        }
        EXPECT_EQ(store.text(field), expected) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Every, WorkedExampleSolve, testing::ValuesIn(workedExamples()),
                         byOperation);

} // namespace
