// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/explain.h"

#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/formulareferences.h"
#include "solver/nonnumber.h"
#include "solver/texts.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <stdexcept>
#include <utility>

namespace zorvik {

namespace {

using Ref = FormulaReference;

// A caption that holds a sign of its own ("Width + Feed Allowance (mm)") is bracketed, so that
// the formula cannot be read as adding to part of it.
std::string bracketedIfSigned(const std::string &caption)
{
    for (std::string_view sign : {" + ", " − ", " × ", " / "}) {
        if (caption.find(sign) != std::string::npos)
            return '(' + caption + ')';
    }
    return caption;
}

std::string inCaptions(const RelationList &list, std::string_view text, std::string_view owner,
                       const Captions &captions)
{
    return renderFormula(list, text, owner, [&](Ref ref) {
        return bracketedIfSigned(ref.aux ? std::string(list.auxValues[ref.index].caption)
                                         : captions[ref.index]);
    });
}

std::string numberText(Num number)
{
    return number.ok() ? numberToText(number.value()) : std::string("overflow");
}

// Texts longer than this (a paste gone wrong) are quoted by their start and their length: a
// text of millions of characters copied into every line that reads it would make a tooltip that
// takes seconds to lay out and that nobody could read.
constexpr std::size_t longText = 100;
constexpr std::size_t quotedStart = 20;

// Characters, not bytes: UTF-8 continuation bytes belong to the character before them.
bool startsCharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// Thousands grouped with spaces, whatever the locale.
std::string grouped(std::size_t number)
{
    std::string digits = std::to_string(number);
    for (std::size_t at = digits.size(); at > 3; at -= 3)
        digits.insert(at - 3, " ");
    return digits;
}

// A long text as "start…" (N characters); "" when the text is not long.
std::string longQuote(const std::string &text)
{
    if (text.size() <= longText)
        return {};
    const auto characters =
        static_cast<std::size_t>(std::count_if(text.begin(), text.end(), startsCharacter));
    if (characters <= longText)
        return {};
    std::size_t end = 0;
    for (std::size_t kept = 0; kept <= quotedStart; ++end)
        kept += startsCharacter(text[end]) ? 1 : 0;
    return '"' + text.substr(0, end - 1) + "…\" (" + grouped(characters) + " characters)";
}

// A field's text as its explanation shows it: whole, unless it is long.
std::string shown(const std::string &text)
{
    std::string quote = longQuote(text);
    return quote.empty() ? text : quote;
}

// A text that is no number is quoted, so that a blank or a "1..2" reads as a text.
std::string quotedUnlessNumber(const std::string &text)
{
    std::string quote = longQuote(text);
    if (!quote.empty())
        return quote;
    return strictToNumber(text) ? text : '"' + text + '"';
}

std::string withValues(const RelationList &list, std::string_view text, std::string_view owner,
                       const std::vector<std::string> &read, const std::vector<Num> &aux)
{
    return renderFormula(list, text, owner, [&](Ref ref) {
        return ref.aux ? numberText(aux[ref.index]) : quotedUnlessNumber(read[ref.index]);
    });
}

FieldStore storeOf(const std::vector<std::string> &texts)
{
    FieldStore store(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i)
        store.setText(static_cast<FieldId>(i), texts[i]);
    return store;
}

// The words of a formula text that need their own line.
struct Note {
    std::string_view marker;
    std::string_view line;
};

const Note notes[] = {
    {"π", "π = 22/7, as every window has it."},
    {"sin(", "sin takes radians."},
    {"arctan(", "arctan gives radians."},
    {"arcsine(", "arcsine(x) = (arctan(x / √(−x × x + 1)) × 180) / π, in degrees; at x = ±1 "
                 "it is that formula's limit, ±89.9637896255259 (the true π/2 turned into "
                 "degrees with π = 22/7), and it fails when x is below −1 or above 1."},
    {"round(", "round(x) is the nearest whole number, halves to the even one (2.5 gives 2, 3.5 "
               "gives 4)."},
    {"trunc(", "trunc(x) is x without its fraction."},
    {"lenient(", "lenient(x) is as much of a number as the text of x starts with, spaces "
                 "skipped, and 0 when it starts with none."},
};

// The failure a user is told of when a formula's numbers fail in more than one way.
const std::pair<unsigned, std::string_view> failureWords[] = {
    {ArcsineRange, "arcsine out of range (−1 to 1)"},
    {NegativeRoot, "square root of a negative number"},
    {DivisionByZero, "division by zero"},
    {Overflow, "overflow beyond the double range"},
};

// Evaluates an applicable rule again, this time to find why it fails.
RuleAttempt trial(const RelationList &list, const Rule &rule, bool prePass, const FieldStore &store,
                  const std::vector<Num> &aux)
{
    RuleAttempt attempt{&rule, prePass, RuleAttempt::Outcome::EvaluationFailed};
    const Num result = rule.formula(Values(store, aux));
    if (result.ok()) {
        attempt.outcome = RuleAttempt::Outcome::PassesRanOut;
        attempt.value = result.value();
        return attempt;
    }
    attempt.failures = result.failures();
    if (attempt.failures & NotANumber) {
        // Every source the formula reads that is no number fails it.
        for (Ref ref : formulaReferences(list, rule.text, rule.id)) {
            const auto field = static_cast<FieldId>(ref.index);
            if (ref.aux || readsLeniently(rule.lenient, field) || strictToNumber(store.text(field)))
                continue;
            if (std::find(attempt.fields.begin(), attempt.fields.end(), field) ==
                attempt.fields.end())
                attempt.fields.push_back(field);
        }
        if (!attempt.fields.empty())
            attempt.outcome = RuleAttempt::Outcome::NotANumber;
    }
    return attempt;
}

// The group as the last pass saw it, which is the final store unless the passes ran out.
void attemptsInGroup(const RelationList &list, const RuleGroup &group, const SolveRecord &record,
                     const FieldStore &solved, FieldId field, BlankReason &reason)
{
    const Rule *ended = nullptr;
    bool endedWell = false;
    Values values(solved, record.aux);
    for (const Rule &rule : group) {
        const bool mine = rule.target == field;
        reason.anyRule = reason.anyRule || mine;
        RuleAttempt attempt{&rule, false, RuleAttempt::Outcome::NotTried, ended, endedWell};
        if (ended) {
            if (mine)
                reason.attempts.push_back(attempt);
            continue;
        }
        if (!solved.isBlank(rule.target))
            continue;
        for (FieldId source : rule.guard) {
            if (solved.isBlank(source))
                attempt.fields.push_back(source);
        }
        if (!attempt.fields.empty()) {
            attempt.outcome = RuleAttempt::Outcome::SourcesBlank;
            if (mine)
                reason.attempts.push_back(attempt);
            continue;
        }
        if (rule.test && !rule.test(values)) {
            attempt.outcome = RuleAttempt::Outcome::TestFails;
            if (mine)
                reason.attempts.push_back(attempt);
            continue;
        }
        ended = &rule;
        attempt = trial(list, rule, false, solved, record.aux);
        endedWell = attempt.outcome == RuleAttempt::Outcome::PassesRanOut;
        if (mine)
            reason.attempts.push_back(attempt);
    }
}

// Attempts in words; it keeps the formula texts it shows, for the notes under them.
class AttemptWriter {
public:
    AttemptWriter(const RelationList &list, const Captions &captions, const SolveRecord &record,
                  const FieldStore &solved)
        : m_list(list), m_captions(captions), m_record(record), m_solved(solved)
    {}

    std::vector<std::string> lines(const RuleAttempt &attempt)
    {
        using Outcome = RuleAttempt::Outcome;
        const Rule &rule = *attempt.rule;
        m_texts.push_back(rule.text);
        m_texts.push_back(rule.when);
        const std::string formula = formulaText(m_list, rule, m_captions);
        if (attempt.prePass)
            return {"Rule " + std::string(rule.id) +
                        ", tried once before the first pass: " + formula,
                    "  " + outcome(attempt, m_record.given, {})};
        std::string why;
        switch (attempt.outcome) {
        case Outcome::NotTried:
            why = "not tried: rule " + std::string(attempt.endedBy->id) +
                  (attempt.endedWell ? " comes first in its group."
                                     : " failed, and a failed rule ends its group.");
            break;
        case Outcome::SourcesBlank:
            why = "not applicable: " + joined(captionsOf(attempt.fields), ", ", " and ") +
                  (attempt.fields.size() == 1 ? " is blank." : " are blank.");
            break;
        case Outcome::TestFails:
            why = "not applicable: it applies only when " +
                  inCaptions(m_list, rule.when, rule.id, m_captions) + ", and here " +
                  withValues(m_list, rule.when, rule.id, m_solved.texts(), m_record.aux) +
                  " does not hold.";
            break;
        default:
            why = outcome(attempt, m_solved.texts(), m_record.aux);
        }
        return {"Rule " + std::string(rule.id) + ": " + formula, "  " + why};
    }

    const std::vector<std::string_view> &formulaTexts() const { return m_texts; }

private:
    std::vector<std::string> captionsOf(const std::vector<FieldId> &fields) const
    {
        std::vector<std::string> names;
        for (FieldId field : fields)
            names.push_back(m_captions[static_cast<std::size_t>(field)]);
        return names;
    }

    // What evaluating the rule found, on the texts read and the auxiliary values aux.
    std::string outcome(const RuleAttempt &attempt, const std::vector<std::string> &read,
                        const std::vector<Num> &aux) const
    {
        const Rule &rule = *attempt.rule;
        if (attempt.outcome == RuleAttempt::Outcome::PassesRanOut)
            return "would now give " + numberToText(attempt.value) + ", but the " +
                   std::to_string(m_list.passes) + " passes ran out first.";
        if (attempt.outcome == RuleAttempt::Outcome::NotANumber) {
            std::vector<std::string> reasons;
            for (FieldId field : attempt.fields) {
                const auto index = static_cast<std::size_t>(field);
                const std::string &text = read[index];
                reasons.push_back(m_captions[index] + (text.empty()
                                                           ? std::string(" is blank")
                                                           : " holds " + quotedUnlessNumber(text) +
                                                                 ", which is not a number"));
            }
            return "failed: " + joined(reasons, "; ") + ".";
        }
        const std::string values = withValues(m_list, rule.text, rule.id, read, aux);
        for (const auto &[flag, what] : failureWords) {
            if (attempt.failures & flag)
                return "failed: " + std::string(what) + " in " + values + ".";
        }
        return "failed: its evaluation failed in " + values + ".";
    }

    const RelationList &m_list;
    const Captions &m_captions;
    const SolveRecord &m_record;
    const FieldStore &m_solved;
    std::vector<std::string_view> m_texts;
};

class Explainer {
public:
    Explainer(const RelationList &list, const Captions &captions, const SolveRecord &record,
              const FieldStore &solved, const std::vector<bool> &defaults,
              const std::vector<std::string_view> &units, std::string_view writtenNote)
        : m_list(list), m_captions(captions), m_record(record), m_solved(solved),
          m_defaults(defaults), m_units(units), m_writtenNote(writtenNote)
    {}

    FieldExplanation explain(FieldId field)
    {
        m_lines.clear();
        m_texts.clear();
        const auto index = static_cast<std::size_t>(field);
        const std::string &given = m_record.given[index];
        const SolveWrite *last = nullptr;
        for (const SolveWrite &write : m_record.writes) {
            if ((write.rule ? write.rule->target : write.copy->target) == field)
                last = &write;
        }
        if (last) {
            m_lines.push_back(shown(m_solved.text(field)));
            if (!m_writtenNote.empty())
                m_lines.emplace_back(m_writtenNote);
            written(*last);
            const std::optional<double> value = strictToNumber(m_solved.text(field));
            if (value && index < m_units.size())
                m_lines.push_back("Rounded for reading: " + readingText(*value, m_units[index]) +
                                  ".");
            if (!given.empty())
                m_lines.push_back("It held " + quotedUnlessNumber(given) + " before the solve.");
        } else if (!given.empty()) {
            m_lines.push_back(explainGiven(m_list, m_captions, field, given,
                                           index < m_defaults.size() && m_defaults[index]));
        } else {
            blank(field);
        }
        addNotes();
        std::string how;
        for (std::size_t i = 1; i < m_lines.size(); ++i)
            how += (i == 1 ? "" : "\n") + m_lines[i];
        return {last != nullptr, how.empty() ? m_lines.front() : m_lines.front() + "\n" + how, how};
    }

private:
    void written(const SolveWrite &write)
    {
        if (write.copy) {
            m_lines.push_back("Copied by rule " + std::string(write.copy->id) +
                              " at the end of pass " + std::to_string(write.pass) +
                              ", over whatever it held:");
            m_lines.push_back(m_captions[static_cast<std::size_t>(write.copy->target)] + " = " +
                              m_captions[static_cast<std::size_t>(write.copy->source)]);
            m_lines.push_back("= " +
                              shown(write.read[static_cast<std::size_t>(write.copy->source)]));
            return;
        }
        const Rule &rule = *write.rule;
        m_lines.push_back("Written by rule " + std::string(rule.id) +
                          (write.pass == 0 ? std::string(" before the first pass:")
                                           : " in pass " + std::to_string(write.pass) + ":"));
        m_lines.push_back(formula(rule));
        m_lines.push_back("= " + withValues(m_list, rule.text, rule.id, write.read, m_record.aux));
        m_lines.push_back("= " + m_solved.text(rule.target));
    }

    void blank(FieldId field)
    {
        const BlankReason reason = whyBlank(m_list, m_record, m_solved, field);
        m_lines.push_back(reason.anyRule ? "Blank: no rule filled it."
                                         : "Blank: no rule fills it.");
        AttemptWriter writer(m_list, m_captions, m_record, m_solved);
        for (const RuleAttempt &attempt : reason.attempts) {
            for (std::string &line : writer.lines(attempt))
                m_lines.push_back(std::move(line));
        }
        m_texts.insert(m_texts.end(), writer.formulaTexts().begin(), writer.formulaTexts().end());
    }

    std::string formula(const Rule &rule)
    {
        m_texts.push_back(rule.text);
        m_texts.push_back(rule.when);
        return formulaText(m_list, rule, m_captions);
    }

    // The auxiliary values and words the formulas shown use, each once.
    void addNotes()
    {
        std::vector<std::size_t> aux;
        std::vector<std::string_view> seen = m_texts;
        for (std::size_t i = 0; i < seen.size(); ++i) {
            for (Ref ref : formulaReferences(m_list, seen[i], "an explanation")) {
                if (ref.aux && std::find(aux.begin(), aux.end(), ref.index) == aux.end()) {
                    aux.push_back(ref.index);
                    seen.push_back(m_list.auxValues[ref.index].text);
                }
            }
        }
        for (std::size_t index : aux) {
            const AuxValue &value = m_list.auxValues[index];
            m_lines.push_back("Once before the first pass: " + auxText(m_list, value, m_captions));
            m_lines.push_back(
                "= " + withValues(m_list, value.text, value.name, m_record.auxRead, m_record.aux));
            m_lines.push_back("= " + numberText(m_record.aux[index]));
        }
        for (const Note &note : notes) {
            const bool used = std::any_of(seen.begin(), seen.end(), [&](std::string_view text) {
                return text.find(note.marker) != std::string_view::npos;
            });
            if (used)
                m_lines.emplace_back(note.line);
        }
    }

    const RelationList &m_list;
    const Captions &m_captions;
    const SolveRecord &m_record;
    const FieldStore &m_solved;
    const std::vector<bool> &m_defaults;
    const std::vector<std::string_view> &m_units;
    std::string_view m_writtenNote;
    std::vector<std::string> m_lines;
    std::vector<std::string_view> m_texts; // the formula texts shown
};

} // namespace

std::string formulaText(const RelationList &list, const Rule &rule, const Captions &captions)
{
    return captions[static_cast<std::size_t>(rule.target)] + " = " +
           inCaptions(list, rule.text, rule.id, captions);
}

std::string auxText(const RelationList &list, const AuxValue &value, const Captions &captions)
{
    return std::string(value.caption) + " = " + inCaptions(list, value.text, value.name, captions);
}

std::string shownText(const std::string &text)
{
    return shown(text);
}

std::string explainGiven(const std::string &text, const std::string &caption, bool isDefault)
{
    const std::string origin = isDefault ? "The window's default" : "Typed";
    if (strictToNumber(text))
        return shown(text) + "\n" + origin + "; the solve reads it and never changes it.";
    // Without the list, how the rules take it is not known here: only that it is no number.
    static_cast<void>(caption);
    return shown(text) + "\n" + origin + ", but not a number.";
}

std::string explainGiven(const RelationList &list, const Captions &captions, FieldId field,
                         const std::string &text, bool isDefault)
{
    if (strictToNumber(text))
        return explainGiven(text, captions.at(static_cast<std::size_t>(field)), isDefault);
    return shown(text) + "\n" + (isDefault ? "The window's default" : "Typed") +
           ", but not a number: " + nonNumberText(list, captions, field, text) + ".";
}

BlankReason whyBlank(const RelationList &list, const SolveRecord &record, const FieldStore &solved,
                     FieldId field)
{
    BlankReason reason;
    // Pre-pass rules run once, on the texts the solve was given.
    const FieldStore given = storeOf(record.given);
    for (const Rule &rule : list.prePass) {
        if (rule.target != field)
            continue;
        reason.anyRule = true;
        reason.attempts.push_back(trial(list, rule, true, given, {}));
    }
    for (const RuleGroup &group : list.groups)
        attemptsInGroup(list, group, record, solved, field, reason);
    return reason;
}

std::vector<std::string> attemptLines(const RelationList &list, const Captions &captions,
                                      const SolveRecord &record, const FieldStore &solved,
                                      const std::vector<RuleAttempt> &attempts)
{
    AttemptWriter writer(list, captions, record, solved);
    std::vector<std::string> lines;
    for (const RuleAttempt &attempt : attempts) {
        for (std::string &line : writer.lines(attempt))
            lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<FieldExplanation> explainSolve(const RelationList &list, const Captions &captions,
                                           const SolveRecord &record, const FieldStore &solved,
                                           const std::vector<bool> &defaults,
                                           const std::vector<std::string_view> &units,
                                           std::string_view writtenNote)
{
    Explainer explainer(list, captions, record, solved, defaults, units, writtenNote);
    std::vector<FieldExplanation> explanations;
    for (std::size_t i = 0; i < list.fields.size(); ++i)
        explanations.push_back(explainer.explain(static_cast<FieldId>(i)));
    return explanations;
}

} // namespace zorvik
