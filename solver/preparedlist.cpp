// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/preparedlist.h"

#include "solver/fieldstore.h"
#include "solver/provenance.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <mutex>

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

// Worked out on first need, since reading the formula texts costs several solves, and a list is
// prepared for every single solve of a window, while only a page that waits for a pre-pass rule
// asks. A rule waits when it reads what a pre-pass rule fills, itself or through an auxiliary
// value.
void PreparedList::findPrePassReaders() const
{
    const RelationList &list = *m_list;
    for (const RuleGroup &rules : list.groups) {
        for (const Rule &rule : rules) {
            const std::vector<FieldId> reads = ruleSources(list, rule);
            const bool waits = std::any_of(list.prePass.begin(), list.prePass.end(),
                                           [&](const Rule &pre) {
                                               return std::find(reads.begin(), reads.end(),
                                                                pre.target) != reads.end();
                                           });
            if (waits)
                m_prePassReaders.push_back(&rule);
        }
    }
    std::sort(m_prePassReaders.begin(), m_prePassReaders.end(), std::less<const Rule *>());
}

bool PreparedList::readsPrePassTarget(const Rule &rule) const
{
    std::call_once(m_prePassReadersFound, [this] { findPrePassReaders(); });
    return std::binary_search(m_prePassReaders.begin(), m_prePassReaders.end(), &rule,
                              std::less<const Rule *>());
}

bool PreparedList::prePassWaits(const FieldStore &store) const
{
    for (const Rule &rule : m_list->prePass) {
        if (!store.isBlank(rule.target))
            continue;
        for (FieldId field : rule.guard) {
            if (store.isBlank(field) && m_groupsFilling[static_cast<std::size_t>(field)] > 0)
                return true;
        }
    }
    return false;
}

} // namespace zorvik
