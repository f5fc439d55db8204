// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using namespace zorvik;

namespace {

const OperationId allIds[] = {OperationId::Longitudinal, OperationId::Face,
                              OperationId::Taper,        OperationId::Drilling,
                              OperationId::Milling,      OperationId::Shaping};

// Every id has exactly one row, found by id and by its command-line name alike, and every
// default names a field of the row's own list.
TEST(OperationTable, EveryIdHasOneRowWithSoundDefaults)
{
    std::set<std::string_view> names;
    for (OperationId id : allIds) {
        const OperationDefinition &row = operation(id);
        EXPECT_EQ(row.id, id);
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_EQ(findOperation(row.name), &row);
        const FieldStore store = row.defaultStore();
        for (const auto &[field, text] : row.defaults) {
            ASSERT_GE(field, 0);
            ASSERT_LT(std::size_t(field), row.relations.fields.size());
            EXPECT_EQ(store.text(field), text) << row.name;
        }
    }
    EXPECT_EQ(operationDefinitions().size(), std::size(allIds));
}

} // namespace
