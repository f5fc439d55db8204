// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/relationlist.h"
#include "solver/solve.h"

#include <string>
#include <vector>

namespace zorvik {

// "Target = expression" in captions, as the rule computes it. Throws std::logic_error naming the
// rule when its text names something the list does not have.
std::string formulaText(const RelationList &list, const Rule &rule, const Captions &captions);
// "Caption = expression" for an auxiliary value.
std::string auxText(const RelationList &list, const AuxValue &value, const Captions &captions);

struct FieldExplanation {
    bool written = false; // by this solve, rather than typed or left blank
    // Lines joined by "\n"; the first is the field's whole text ("Blank ..." when it has none).
    std::string text;
};

// Per field id, what the solve recorded in record did with it, and why a blank field stayed
// blank; solved is the store after that solve. Only an explanation re-evaluates rules (to find
// why they fail), so a solve that records nothing does none of that work. A field marked in
// defaults (by id; missing entries are false) held the window's default text rather than one
// the user typed.
std::vector<FieldExplanation> explainSolve(const RelationList &list, const Captions &captions,
                                           const SolveRecord &record, const FieldStore &solved,
                                           const std::vector<bool> &defaults = {});

// The explanation of a field that holds text as its user gave it: typed, or the window's default.
std::string explainGiven(const std::string &text, const std::string &caption, bool isDefault);

} // namespace zorvik
