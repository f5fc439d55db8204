// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"

#include <vector>

namespace zorvik::test {

// Every rule of the list: the pre-pass rules, then the groups' in order.
inline std::vector<const Rule *> allRules(const RelationList &list)
{
    std::vector<const Rule *> rules;
    for (const Rule &rule : list.prePass)
        rules.push_back(&rule);
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            rules.push_back(&rule);
    }
    return rules;
}

} // namespace zorvik::test
