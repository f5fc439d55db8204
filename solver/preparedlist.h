// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldstore.h"
#include "solver/relationlist.h"

#include <mutex>
#include <vector>

namespace zorvik {

// A relation list made ready for many solves: its ids are checked against its own fields, and
// what the solve loop needs of its shape is worked out, once for a batch of pages rather than
// for each page, since neither depends on the texts. It refers to the list, which must outlive it
// unchanged.
class PreparedList {
public:
    // Throws std::out_of_range, naming the first such id, when a rule or a copy of the list names
    // an id outside the list's fields.
    explicit PreparedList(const RelationList &list);

    const RelationList &list() const { return *m_list; }

    // Whether a rule of the groups reads a field a pre-pass rule fills, itself or through an
    // auxiliary value.
    bool readsPrePassTarget(const Rule &rule) const;
    // Whether a pre-pass rule's target is blank while a field of its guard is blank that a group
    // fills: the rule may yet apply, once a pass has filled it.
    bool prePassWaits(const FieldStore &store) const;

private:
    friend class UncheckedStore;

    const RelationList *m_list;
    std::vector<FieldId> m_groupTargets; // by group: the field all its rules fill, or -1
    std::vector<int> m_groupsFilling;    // by field: the groups whose rules all fill it
    void findPrePassReaders() const;
    mutable std::once_flag m_prePassReadersFound;
    mutable std::vector<const Rule *> m_prePassReaders; // sorted by address
};

} // namespace zorvik
