// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/formulareferences.h"

#include <stdexcept>

namespace zorvik {

namespace {

FormulaReference resolve(const RelationList &list, std::string_view name, std::string_view owner)
{
    if (const FieldId field = list.formulaField(name); field >= 0)
        return {false, static_cast<std::size_t>(field)};
    for (std::size_t i = 0; i < list.auxValues.size(); ++i) {
        if (list.auxValues[i].name == name)
            return {true, i};
    }
    throw std::logic_error("formula text of " + std::string(owner) + " names {" +
                           std::string(name) + "}, which its list does not have");
}

} // namespace

std::string renderFormula(const RelationList &list, std::string_view text, std::string_view owner,
                          const std::function<std::string(FormulaReference)> &substitute)
{
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        if (open == std::string_view::npos) {
            out += text.substr(at);
            break;
        }
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos)
            throw std::logic_error("formula text of " + std::string(owner) + " has an open {");
        out += text.substr(at, open - at);
        FormulaReference ref = resolve(list, text.substr(open + 1, close - open - 1), owner);
        out += substitute(ref);
        at = close + 1;
    }
    return out;
}

std::vector<FormulaReference> formulaReferences(const RelationList &list, std::string_view text,
                                                std::string_view owner)
{
    std::vector<FormulaReference> refs;
    renderFormula(list, text, owner, [&refs](FormulaReference ref) {
        refs.push_back(ref);
        return std::string();
    });
    return refs;
}

} // namespace zorvik
