// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"
#include "solver/solve.h"

#include <utility>
#include <vector>

namespace zorvik {

// Per field id, the fields the text it holds was computed from: what the rule or copy that wrote
// it read. Empty for a field no solve wrote (typed, a default, or blank). A window keeps one
// across solves, since a result of an earlier solve stays on the page while later ones read it.
using FieldSources = std::vector<std::vector<FieldId>>;

// Everything a rule reads, each field once: the fields its formula and its test name, those the
// auxiliary values it uses were computed from, and its guard fields, which decide whether it
// applies at all. In the order its formula names them, then its test, then its guard.
std::vector<FieldId> ruleSources(const RelationList &list, const Rule &rule);

// The sources of every rule of a list, worked out once from the formula texts.
class ListSources {
public:
    // Throws std::logic_error, as formula texts do, when a text names something the list lacks.
    explicit ListSources(const RelationList &list);

    const RelationList &list() const { return *m_list; }
    const std::vector<FieldId> &of(const Rule &rule) const;
    // The sources a solve's write read: a rule's, or a copy's one source.
    std::vector<FieldId> of(const SolveWrite &write) const;
    // Per field id, the sources of the write that left its final text in the solve recorded;
    // empty for a field the solve did not write.
    FieldSources ofSolve(const SolveRecord &record) const;
    // The fields whose final text the solve recorded wrote from what their sources hold after
    // the solve: every result, unless a pass copy wrote over one of its sources later. In the
    // order of their ids.
    std::vector<FieldId> freshOf(const SolveRecord &record) const;

private:
    const RelationList *m_list;
    std::vector<std::pair<const Rule *, std::size_t>> m_rules; // sorted, with their m_sources
    std::vector<std::vector<FieldId>> m_sources;
};

// ListSources(list).ofSolve(record), for a single solve.
FieldSources solveSources(const RelationList &list, const SolveRecord &record);

// Per field id, whether its text was computed from one of fields, directly or through other
// results; the fields themselves are not marked unless a cycle of solves leads back to them.
// sources may hold fewer entries than the page has fields: the rest have none.
std::vector<bool> derivedFrom(const FieldSources &sources, const std::vector<FieldId> &fields);
std::vector<bool> derivedFrom(const FieldSources &sources, FieldId field);

// The sources of several solves, as a page keeps them: each field a later solve wrote takes the
// sources of that write, the others keep theirs. A field that is typed again should have its
// sources cleared by the caller.
void mergeSources(FieldSources &kept, const FieldSources &solved);

} // namespace zorvik
