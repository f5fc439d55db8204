// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"
#include "solver/conversions.h"
#include "solver/solve.h"

#include <gtest/gtest.h>

#include <random>

using namespace zorvik;

namespace {

bool isPassCopyTarget(const RelationList &list, FieldId field)
{
    for (const PassCopy &copy : list.endOfPass) {
        if (copy.target == field)
            return true;
    }
    return false;
}

// Random pages of every operation: a solve must never change a text the user typed (apart from
// a copy step, which may only copy its source), and whatever it writes must be a number text
// that reads back to itself.
TEST(EveryOperation, SolveKeepsGivenTextsAndWritesOnlyNumberTexts)
{
    const std::vector<std::string> pool{"",      "",   "",    "",      "0",      "1",   "2",
                                        "0.5",   "-3", "100", "1E308", "1E-300", " ",   ".",
                                        "1.2.3", "90", "360", "7",     "0.001",  "abc", "118"};
    std::mt19937 random(20261207);
    for (const OperationDefinition &operation : operationDefinitions()) {
        const RelationList &list = operation.relations;
        for (int round = 0; round < 300; ++round) {
            FieldStore store = operation.defaultStore();
            for (std::size_t i = 0; i < store.size(); ++i) {
                if (random() % 2)
                    store.setText(static_cast<FieldId>(i), pool[random() % pool.size()]);
            }
            if (operation.prepare)
                operation.prepare(store);
            FieldStore before = store;
            solve(list, store);
            for (std::size_t i = 0; i < store.size(); ++i) {
                FieldId field = static_cast<FieldId>(i);
                const std::string &text = store.text(field);
                if (isPassCopyTarget(list, field)) {
                    continue;
                } else if (!before.isBlank(field)) {
                    ASSERT_EQ(text, before.text(field)) << operation.name << ' ' << list.fields[i];
                } else if (!text.empty()) {
                    std::optional<double> number = strictToNumber(text);
                    ASSERT_TRUE(number) << operation.name << ' ' << list.fields[i] << ' ' << text;
                    ASSERT_EQ(numberToText(*number), text)
                        << operation.name << ' ' << list.fields[i];
                }
            }
        }
    }
}

} // namespace
