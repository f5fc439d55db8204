// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldstore.h"
#include "solver/relationlist.h"

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

private:
    friend class UncheckedStore;

    const RelationList *m_list;
    std::vector<FieldId> m_groupTargets; // by group: the field all its rules fill, or -1
    std::vector<int> m_groupsFilling;    // by field: the groups whose rules all fill it
};

} // namespace zorvik
