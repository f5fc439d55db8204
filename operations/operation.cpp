#include "operations/operation.h"

#include "operations/turning/turningrelations.h"

namespace zorvik {

FieldStore OperationDefinition::defaultStore() const
{
    FieldStore store(relations.fields.size());
    for (const auto &[field, text] : defaults)
        store.setText(field, std::string(text));
    return store;
}

const std::vector<OperationDefinition> &operationDefinitions()
{
    static const std::vector<OperationDefinition> all = [] {
        using namespace turning;
        std::vector<std::pair<FieldId, std::string_view>> turningDefaults{
            {inlet, "2"}, {outlet, "2"}, {noc, "1"}};
        return std::vector<OperationDefinition>{
            {"longitudinal", turning::relations(), turningDefaults, {}},
            {"face", turning::relations(), turningDefaults, {}},
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

} // namespace zorvik
