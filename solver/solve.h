// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"
#include "solver/fieldstore.h"
#include "solver/relationlist.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

class PreparedList;

// Called for every text the solve writes. pass is 0 for the pre-pass rules.
using SolveTrace =
    std::function<void(int pass, std::string_view rule, FieldId field, const std::string &text)>;

// One text a solve wrote, with every field's text as the rule read them.
struct SolveWrite {
    int pass;             // 0 for a pre-pass rule
    const Rule *rule;     // null for a pass copy
    const PassCopy *copy; // null for a rule
    std::vector<std::string> read;
};

// What an explanation needs of a solve: the texts it started from, its auxiliary values and
// every write, in order.
struct SolveRecord {
    std::vector<std::string> given;
    std::vector<std::string> auxRead; // the texts the auxiliary values were computed from
    std::vector<Num> aux;
    std::vector<SolveWrite> writes;
    // Whether given, auxRead and every write's read are kept. Where results came from needs only
    // the writes' rules and copies: a batch that checks every page sets it false and copies no
    // texts. Kept by a solve that records.
    bool keepTexts = true;
};

// Fills blank fields of store from the list. Never changes a non-blank field (except through a
// PassCopy), never fails as a whole and reports nothing but the trace and the record. Returns
// false, with the store untouched, when the store was not made for the list (its size differs);
// it runs from event handlers, so it does not throw for that. A list whose rules name an id
// outside its own fields is broken and throws std::out_of_range before anything is written.
bool solve(const RelationList &list, FieldStore &store, const SolveTrace &trace = {},
           SolveRecord *record = nullptr);
// The same solve on a list prepared beforehand, as for a batch of pages.
bool solve(const PreparedList &list, FieldStore &store, const SolveTrace &trace = {},
           SolveRecord *record = nullptr);

} // namespace zorvik
