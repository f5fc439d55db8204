// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/relationlist.h"

#include <algorithm>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

namespace zorvik {

FieldId RelationList::fieldId(std::string_view name) const
{
    auto found = std::find(fields.begin(), fields.end(), name);
    return found == fields.end() ? -1 : static_cast<FieldId>(found - fields.begin());
}

FieldId RelationList::formulaField(std::string_view name) const
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string_view field = fields[i];
        if (field.size() == formulaPrefix.size() + name.size() &&
            field.starts_with(formulaPrefix) && field.ends_with(name))
            return static_cast<FieldId>(i);
    }
    return -1;
}

bool readsLeniently(const std::vector<FieldId> &lenient, FieldId field)
{
    return std::find(lenient.begin(), lenient.end(), field) != lenient.end();
}

RelationList amended(const RelationList &base, const std::vector<Rule> &replacements,
                     const std::vector<std::string_view> &dropped)
{
    RelationList list = base;
    auto onlyRule = [&list](std::string_view id) -> std::pair<RuleGroup *, std::size_t> {
        std::pair<RuleGroup *, std::size_t> found{nullptr, 0};
        int count = 0;
        for (RuleGroup &group : list.groups) {
            for (std::size_t i = 0; i < group.size(); ++i) {
                if (group[i].id == id) {
                    found = {&group, i};
                    ++count;
                }
            }
        }
        if (count != 1)
            throw std::invalid_argument("amended list: " + std::to_string(count) + " rules of id " +
                                        std::string(id) + " in its base");
        return found;
    };
    for (const Rule &rule : replacements) {
        auto [group, at] = onlyRule(rule.id);
        (*group)[at] = rule;
    }
    for (std::string_view id : dropped) {
        auto [group, at] = onlyRule(id);
        group->erase(group->begin() + static_cast<std::ptrdiff_t>(at));
    }
    return list;
}

} // namespace zorvik
