// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/preparedlist.h"

#include "solver/fieldstore.h"

#include <cstddef>

namespace zorvik {

namespace {

template <typename Visit> void forEachId(const RelationList &list, Visit visit)
{
    auto visitRule = [&visit](const Rule &rule) {
        visit(rule.target);
        for (FieldId source : rule.guard)
            visit(source);
    };
    for (const Rule &rule : list.prePass)
        visitRule(rule);
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            visitRule(rule);
    }
    for (const PassCopy &copy : list.endOfPass) {
        visit(copy.source);
        visit(copy.target);
    }
}

} // namespace

PreparedList::PreparedList(const RelationList &list)
    : m_list(&list), m_groupTargets(list.groups.size(), -1), m_groupsFilling(list.fields.size())
{
    const FieldStore store(list.fields.size());
    forEachId(list, [&store](FieldId id) { store.check(id); });
    for (std::size_t group = 0; group < list.groups.size(); ++group) {
        const RuleGroup &rules = list.groups[group];
        FieldId shared = rules.empty() ? -1 : rules.front().target;
        for (const Rule &rule : rules) {
            if (rule.target != shared)
                shared = -1;
        }
        m_groupTargets[group] = shared;
        if (shared >= 0)
            ++m_groupsFilling[static_cast<std::size_t>(shared)];
    }
}

} // namespace zorvik
