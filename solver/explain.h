// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/caption.h"
#include "solver/relationlist.h"
#include "solver/solve.h"

#include <string>
#include <string_view>
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
    std::string how{}; // the lines after the first, joined the same way
};

// Per field id, what the solve recorded in record did with it, and why a blank field stayed
// blank; solved is the store after that solve. Only an explanation re-evaluates rules (to find
// why they fail), so a solve that records nothing does none of that work. A field marked in
// defaults (by id; missing entries are false) held the window's default text rather than one
// the user typed. With units (by id, as the list's help gives them), a result's explanation adds
// its value rounded for reading. A written field's explanation gives writtenNote, if any, as its
// second line, before how it was written.
std::vector<FieldExplanation> explainSolve(const RelationList &list, const Captions &captions,
                                           const SolveRecord &record, const FieldStore &solved,
                                           const std::vector<bool> &defaults = {},
                                           const std::vector<std::string_view> &units = {},
                                           std::string_view writtenNote = {});

// A field's text as explanations quote it: whole, or a long one by its start and its length.
std::string shownText(const std::string &text);

// The explanation of a field that holds text as its user gave it: typed, or the window's default.
// Without the list it cannot say how the rules take a text that is not a number, only that it is
// none; the form with the list says it.
std::string explainGiven(const std::string &text, const std::string &caption, bool isDefault);
std::string explainGiven(const RelationList &list, const Captions &captions, FieldId field,
                         const std::string &text, bool isDefault);

// Why one rule that fills a field did not fill it in a solve.
struct RuleAttempt {
    enum class Outcome {
        NotTried,         // an earlier rule of its group applied (endedBy), and ended the group
        SourcesBlank,     // fields holds the guard fields that are blank
        TestFails,        // its test does not hold
        NotANumber,       // fields holds what its formula reads as a number and is none
        EvaluationFailed, // failures holds the Failure flags
        PassesRanOut,     // it would give value now, but the passes ran out first
    };

    const Rule *rule;
    bool prePass; // tried once, on the texts the solve was given
    Outcome outcome;
    const Rule *endedBy = nullptr;
    bool endedWell = false; // whether endedBy evaluated, rather than failed
    std::vector<FieldId> fields = {};
    unsigned failures = 0;
    double value = 0;
};

// Why field is blank after the solve recorded in record; solved is the store after it.
struct BlankReason {
    bool anyRule = false; // whether any rule of the list fills the field at all
    std::vector<RuleAttempt> attempts;
};
BlankReason whyBlank(const RelationList &list, const SolveRecord &record, const FieldStore &solved,
                     FieldId field);

// The attempts in words, two lines each ("Rule 8b: Spindle Speed = ..." and why it did not
// fill it), as the explanation of a blank field shows them.
std::vector<std::string> attemptLines(const RelationList &list, const Captions &captions,
                                      const SolveRecord &record, const FieldStore &solved,
                                      const std::vector<RuleAttempt> &attempts);

} // namespace zorvik
