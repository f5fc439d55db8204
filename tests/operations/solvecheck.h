#pragma once

#include "operations/operation.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace zorvik::test {

// One write of a solve, as the command-line trace prints it: "PASS RULE NAME TEXT".
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
