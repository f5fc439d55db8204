// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/provenance.h"

#include "solver/formulareferences.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zorvik {

namespace {

void addOnce(std::vector<FieldId> &fields, FieldId field)
{
    if (std::find(fields.begin(), fields.end(), field) == fields.end())
        fields.push_back(field);
}

// The fields a formula text reads, through the auxiliary values it names as well.
void addReads(const RelationList &list, std::string_view text, std::string_view owner,
              std::vector<FieldId> &fields, std::vector<bool> &auxSeen)
{
    for (const FormulaReference &ref : formulaReferences(list, text, owner)) {
        if (!ref.aux) {
            addOnce(fields, static_cast<FieldId>(ref.index));
        } else if (!auxSeen[ref.index]) {
            auxSeen[ref.index] = true;
            const AuxValue &value = list.auxValues[ref.index];
            addReads(list, value.text, value.name, fields, auxSeen);
        }
    }
}

template <typename Visit> void forEachRule(const RelationList &list, Visit visit)
{
    for (const Rule &rule : list.prePass)
        visit(rule);
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            visit(rule);
    }
}

} // namespace

std::vector<FieldId> ruleSources(const RelationList &list, const Rule &rule)
{
    std::vector<FieldId> fields;
    std::vector<bool> auxSeen(list.auxValues.size());
    addReads(list, rule.text, rule.id, fields, auxSeen);
    addReads(list, rule.when, rule.id, fields, auxSeen);
    for (FieldId field : rule.guard)
        addOnce(fields, field);
    return fields;
}

ListSources::ListSources(const RelationList &list) : m_list(&list)
{
    forEachRule(list, [this, &list](const Rule &rule) {
        m_rules.emplace_back(&rule, m_sources.size());
        m_sources.push_back(ruleSources(list, rule));
    });
    std::sort(m_rules.begin(), m_rules.end());
}

const std::vector<FieldId> &ListSources::of(const Rule &rule) const
{
    const auto found = std::lower_bound(m_rules.begin(), m_rules.end(),
                                        std::pair<const Rule *, std::size_t>(&rule, 0));
    if (found == m_rules.end() || found->first != &rule)
        throw std::invalid_argument("rule " + std::string(rule.id) + " is not of this list");
    return m_sources[found->second];
}

std::vector<FieldId> ListSources::of(const SolveWrite &write) const
{
    if (write.copy)
        return {write.copy->source};
    return of(*write.rule);
}

FieldSources ListSources::ofSolve(const SolveRecord &record) const
{
    FieldSources sources(m_list->fields.size());
    for (const SolveWrite &write : record.writes) {
        const FieldId target = write.rule ? write.rule->target : write.copy->target;
        sources.at(static_cast<std::size_t>(target)) = of(write);
    }
    return sources;
}

std::vector<FieldId> ListSources::freshOf(const SolveRecord &record) const
{
    std::vector<bool> fresh(m_list->fields.size());
    for (auto write = record.writes.begin(); write != record.writes.end(); ++write) {
        if (write->rule) {
            fresh.at(static_cast<std::size_t>(write->rule->target)) = true;
            continue;
        }
        const FieldId copied = write->copy->target;
        for (auto earlier = record.writes.begin(); earlier != write; ++earlier) {
            const std::vector<FieldId> read = of(*earlier);
            if (std::find(read.begin(), read.end(), copied) != read.end())
                fresh[static_cast<std::size_t>(earlier->rule ? earlier->rule->target
                                                             : earlier->copy->target)] = false;
        }
    }
    std::vector<FieldId> fields;
    for (std::size_t field = 0; field < fresh.size(); ++field) {
        if (fresh[field])
            fields.push_back(static_cast<FieldId>(field));
    }
    return fields;
}

FieldSources solveSources(const RelationList &list, const SolveRecord &record)
{
    return ListSources(list).ofSolve(record);
}

std::vector<bool> derivedFrom(const FieldSources &sources, const std::vector<FieldId> &fields)
{
    std::size_t size = sources.size();
    for (FieldId field : fields)
        size = std::max(size, static_cast<std::size_t>(field) + 1);
    for (const std::vector<FieldId> &read : sources) {
        for (FieldId field : read)
            size = std::max(size, static_cast<std::size_t>(field) + 1);
    }
    // Each field reached marks every field whose write read it, until nothing new is marked.
    std::vector<bool> derived(size);
    std::vector<FieldId> reached = fields;
    while (!reached.empty()) {
        const FieldId from = reached.back();
        reached.pop_back();
        for (std::size_t field = 0; field < sources.size(); ++field) {
            const std::vector<FieldId> &read = sources[field];
            if (!derived[field] && std::find(read.begin(), read.end(), from) != read.end()) {
                derived[field] = true;
                reached.push_back(static_cast<FieldId>(field));
            }
        }
    }
    return derived;
}

std::vector<bool> derivedFrom(const FieldSources &sources, FieldId field)
{
    return derivedFrom(sources, std::vector<FieldId>{field});
}

void mergeSources(FieldSources &kept, const FieldSources &solved)
{
    if (kept.size() < solved.size())
        kept.resize(solved.size());
    for (std::size_t field = 0; field < solved.size(); ++field) {
        if (!solved[field].empty())
            kept[field] = solved[field];
    }
}

} // namespace zorvik
