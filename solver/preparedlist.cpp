// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/preparedlist.h"

#include "solver/fieldstore.h"
#include "solver/formulareferences.h"

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
// asks.
void PreparedList::findAuxReaders() const
{
    const RelationList &list = *m_list;
    // The auxiliary values that read a field a pre-pass rule fills, and the rules that read one.
    std::vector<bool> waits(list.auxValues.size());
    for (std::size_t value = 0; value < list.auxValues.size(); ++value) {
        for (const FormulaReference &ref :
             formulaReferences(list, list.auxValues[value].text, list.auxValues[value].name)) {
            waits[value] = waits[value] || (ref.aux ? waits[ref.index]
                                                    : std::any_of(list.prePass.begin(),
                                                                  list.prePass.end(),
                                                                  [&](const Rule &pre) {
                                                                      return pre.target ==
                                                                             FieldId(ref.index);
                                                                  }));
        }
    }
    auto readsWaiting = [&](const Rule &rule, std::string_view text) {
        for (const FormulaReference &ref : formulaReferences(list, text, rule.id)) {
            if (ref.aux && waits[ref.index])
                return true;
        }
        return false;
    };
    for (const RuleGroup &rules : list.groups) {
        for (const Rule &rule : rules) {
            if (readsWaiting(rule, rule.text) || readsWaiting(rule, rule.when))
                m_auxReaders.push_back(&rule);
        }
    }
    std::sort(m_auxReaders.begin(), m_auxReaders.end(), std::less<const Rule *>());
}

bool PreparedList::readsAux(const Rule &rule) const
{
    std::call_once(m_auxReadersFound, [this] { findAuxReaders(); });
    return std::binary_search(m_auxReaders.begin(), m_auxReaders.end(), &rule,
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
