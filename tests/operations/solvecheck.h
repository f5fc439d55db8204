#pragma once

#include "operations/operation.h"
#include "tests/support/solvetrace.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zorvik::test {

// The operation's default store with the given texts typed over it, by field name.
inline FieldStore storeWith(const OperationDefinition &operation,
                            const std::vector<std::pair<std::string, std::string>> &texts)
{
    FieldStore store = operation.defaultStore();
    for (const auto &[name, text] : texts) {
        FieldId field = operation.relations.fieldId(name);
        if (field < 0)
            throw std::invalid_argument("no field " + name + " in " + std::string(operation.name));
        store.setText(field, text);
    }
    return store;
}

} // namespace zorvik::test
