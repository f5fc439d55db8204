// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"

#include "operations/drilling/drillingrelations.h"
#include "operations/milling/millingrelations.h"
#include "operations/shaping/shapingrelations.h"
#include "operations/turning/taperrelations.h"
#include "operations/turning/turningrelations.h"

#include <cstdlib>

namespace zorvik {

FieldStore OperationDefinition::defaultStore() const
{
    FieldStore store(relations.fields.size());
    for (const auto &[field, text] : defaults)
        store.setText(field, text);
    return store;
}

const std::vector<OperationDefinition> &operationDefinitions()
{
    static const std::vector<OperationDefinition> all = [] {
        std::vector<std::pair<FieldId, std::string_view>> turningDefaults{
            {turning::inlet, "2"}, {turning::outlet, "2"}, {turning::noc, "1"}};
        return std::vector<OperationDefinition>{
            {OperationId::Longitudinal, "longitudinal", turning::relations(), turningDefaults, {}},
            {OperationId::Face, "face", turning::faceRelations(), turningDefaults, {}},
            {OperationId::Taper, "taper", taper::relations(), {{taper::noc, "1"}}, {}},
            {OperationId::Drilling,
             "drilling",
             drilling::relations(),
             {{drilling::outlet, "3"}, {drilling::angle, "118"}, {drilling::edge, "2"}},
             [](FieldStore &store) { drilling::enlargeHole(store); }},
            {OperationId::Milling, "milling", milling::relations(), {{milling::noc, "1"}}, {}},
            {OperationId::Shaping,
             "shaping",
             shaping::relations(),
             {{shaping::noc, "1"}, {shaping::cangle, "240"}, {shaping::rangle, "120"}},
             {}},
        };
    }();
    return all;
}

const OperationDefinition *findOperation(std::string_view name)
{
    for (const OperationDefinition &operation : operationDefinitions()) {
        if (operation.name == name)
            return &operation;
    }
    return nullptr;
}

const OperationDefinition &operation(OperationId id)
{
    for (const OperationDefinition &operation : operationDefinitions()) {
        if (operation.id == id)
            return operation;
    }
    // Every id has its row; reaching this is a mistake in the table above.
    std::abort();
}

} // namespace zorvik
