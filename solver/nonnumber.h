// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"
#include "solver/relationlist.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// How a rule or copy takes a field whose text is not a number (a blank one aside).
enum class NonNumberUse {
    Lenient,   // reads as much of a number as the text starts with, perhaps through an
               // auxiliary value
    Strict,    // its formula reads it as a number, so the rule fails whenever it applies
    TestOnly,  // only its test reads it, which then does not hold: the rule does not apply
    GuardOnly, // only needs it filled, and reads something else
    Copied,    // a pass copy takes the text as it stands
};

struct NonNumberReading {
    const Rule *rule;     // null for a pass copy
    const PassCopy *copy; // null for a rule
    NonNumberUse use;
};

// Every rule (pre-pass rules first, then the groups in order) and copy that reads field, and how.
std::vector<NonNumberReading> nonNumberReadings(const RelationList &list, FieldId field);

// A rule as the window's words name it: "the Machining Time rule (9a)", by its target's caption
// without the unit. Every message that names a rule in words names it so.
std::string ruleName(const Rule &rule, const Captions &captions);

// How each rule that reads field takes text, which is not a number: "read as 1.2 by the
// Machining Time rule (9a), which reads up to the first character that is not part of a number;
// the Feed Rate rule (6b) cannot use it". No full stop, so that callers can put it in a sentence.
std::string nonNumberText(const RelationList &list, const Captions &captions, FieldId field,
                          std::string_view text);

} // namespace zorvik
