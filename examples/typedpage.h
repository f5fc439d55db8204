// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "examples/workedexamples.h"
#include "operations/operation.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace zorvik::test {

// A name that resolves to nothing is a mistake in a table of tests or benchmarks: it stops the
// run with the name, rather than reach past the end of a store.
inline const OperationDefinition &operationNamed(std::string_view name)
{
    const OperationDefinition *operation = findOperation(name);
    if (!operation)
        throw std::invalid_argument("no operation " + std::string(name));
    return *operation;
}

inline FieldId fieldNamed(const OperationDefinition &operation, std::string_view name)
{
    FieldId field = operation.relations.fieldId(name);
    if (field < 0) {
        throw std::invalid_argument("no field " + std::string(name) + " in " +
                                    std::string(operation.name));
    }
    return field;
}

// The operation's default store with the given texts typed over it.
inline FieldStore storeWith(const OperationDefinition &operation, const Texts &texts)
{
    FieldStore store = operation.defaultStore();
    for (const auto &[name, text] : texts)
        store.setText(fieldNamed(operation, name), std::string(text));
    return store;
}

// The page as Calculate sees it: what the window has already done with the typed texts (such
// as a field derived when another loses the focus) is done too.
inline FieldStore typedPage(const OperationDefinition &operation, const Texts &texts)
{
    FieldStore store = storeWith(operation, texts);
    operation.prepareTyped(store);
    return store;
}

} // namespace zorvik::test
