// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/explain.h"

#include "solver/conversions.h"
#include "solver/texts.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <utility>

namespace zorvik {

namespace {

// A {name} of a formula text: a field, or an auxiliary value when aux is set.
struct Ref {
    bool aux;
    std::size_t index;
    bool lenient = false; // read by the lenient conversion
};

Ref resolve(const RelationList &list, std::string_view name, std::string_view owner)
{
    if (const FieldId field = list.formulaField(name); field >= 0)
        return {false, static_cast<std::size_t>(field)};
    for (std::size_t i = 0; i < list.auxValues.size(); ++i) {
        if (list.auxValues[i].name == name)
            return {true, i};
    }
    throw std::logic_error("formula text of " + std::string(owner) + " names {" +
                           std::string(name) + "}, which its list does not have");
}

// text with every {name} replaced by what substitute gives for it.
std::string render(const RelationList &list, std::string_view text, std::string_view owner,
                   const std::function<std::string(Ref)> &substitute)
{
    std::string out;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('{', at);
        if (open == std::string_view::npos) {
            out += text.substr(at);
            break;
        }
        const std::size_t close = text.find('}', open);
        if (close == std::string_view::npos)
            throw std::logic_error("formula text of " + std::string(owner) + " has an open {");
        out += text.substr(at, open - at);
        Ref ref = resolve(list, text.substr(open + 1, close - open - 1), owner);
        ref.lenient = text.substr(0, open).ends_with("lenient(");
        out += substitute(ref);
        at = close + 1;
    }
    return out;
}

std::vector<Ref> references(const RelationList &list, std::string_view text, std::string_view owner)
{
    std::vector<Ref> refs;
    render(list, text, owner, [&refs](Ref ref) {
        refs.push_back(ref);
        return std::string();
    });
    return refs;
}

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
    return render(list, text, owner, [&](Ref ref) {
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
    return render(list, text, owner, [&](Ref ref) {
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

class Explainer {
public:
    Explainer(const RelationList &list, const Captions &captions, const SolveRecord &record,
              const FieldStore &solved, const std::vector<bool> &defaults)
        : m_list(list), m_captions(captions), m_record(record), m_solved(solved),
          m_defaults(defaults)
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
            written(*last);
            if (!given.empty())
                m_lines.push_back("It held " + quotedUnlessNumber(given) + " before the solve.");
        } else if (!given.empty()) {
            m_lines.push_back(explainGiven(given, m_captions[index],
                                           index < m_defaults.size() && m_defaults[index]));
        } else {
            blank(field);
        }
        addNotes();
        std::string text = m_lines.front();
        for (std::size_t i = 1; i < m_lines.size(); ++i)
            text += "\n" + m_lines[i];
        return {last != nullptr, text};
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
        bool anyRule = false;
        std::vector<std::string> lines;
        // Pre-pass rules run once, on the texts the solve was given.
        const FieldStore given = storeOf(m_record.given);
        for (const Rule &rule : m_list.prePass) {
            if (rule.target != field)
                continue;
            anyRule = true;
            lines.push_back("Rule " + std::string(rule.id) +
                            ", tried once before the first pass: " + formula(rule));
            lines.push_back("  " + trial(rule, given, {}, m_record.given));
        }
        for (const RuleGroup &group : m_list.groups)
            anyRule = blankInGroup(group, field, lines) || anyRule;
        m_lines.push_back(anyRule ? "Blank: no rule filled it." : "Blank: no rule fills it.");
        m_lines.insert(m_lines.end(), lines.begin(), lines.end());
    }

    // The group as the last pass saw it, which is the final store unless the passes ran out.
    bool blankInGroup(const RuleGroup &group, FieldId field, std::vector<std::string> &lines)
    {
        const Rule *ended = nullptr;
        bool endedWell = false;
        bool anyRule = false;
        Values values(m_solved, m_record.aux);
        for (const Rule &rule : group) {
            const bool mine = rule.target == field;
            if (mine) {
                anyRule = true;
                lines.push_back("Rule " + std::string(rule.id) + ": " + formula(rule));
            }
            if (ended) {
                if (mine)
                    lines.push_back("  not tried: rule " + std::string(ended->id) +
                                    (endedWell ? " comes first in its group."
                                               : " failed, and a failed rule ends its group."));
                continue;
            }
            if (!m_solved.isBlank(rule.target))
                continue;
            std::vector<std::string> blankSources;
            for (FieldId source : rule.guard) {
                if (m_solved.isBlank(source))
                    blankSources.push_back(m_captions[static_cast<std::size_t>(source)]);
            }
            if (!blankSources.empty()) {
                if (mine)
                    lines.push_back("  not applicable: " + joined(blankSources, ", ", " and ") +
                                    (blankSources.size() == 1 ? " is blank." : " are blank."));
                continue;
            }
            if (rule.test && !rule.test(values)) {
                if (mine) {
                    const std::vector<std::string> read = texts();
                    lines.push_back("  not applicable: it applies only when " +
                                    inCaptions(m_list, rule.when, rule.id, m_captions) +
                                    ", and here " +
                                    withValues(m_list, rule.when, rule.id, read, m_record.aux) +
                                    " does not hold.");
                }
                continue;
            }
            ended = &rule;
            const std::string outcome = trial(rule, m_solved, m_record.aux, texts());
            endedWell = outcome.starts_with("would");
            if (mine)
                lines.push_back("  " + outcome);
        }
        return anyRule;
    }

    // Evaluates an applicable rule again, this time to say why it fails.
    std::string trial(const Rule &rule, const FieldStore &store, const std::vector<Num> &aux,
                      const std::vector<std::string> &read)
    {
        const Num result = rule.formula(Values(store, aux));
        if (result.ok())
            return "would now give " + numberToText(result.value()) + ", but the " +
                   std::to_string(m_list.passes) + " passes ran out first.";
        const unsigned failures = result.failures();
        if (failures & NotANumber) {
            // Every source the formula reads that is no number fails it.
            std::vector<std::string> reasons;
            for (Ref ref : references(m_list, rule.text, rule.id)) {
                const std::string &text = read[ref.index];
                if (ref.aux || ref.lenient || strictToNumber(text))
                    continue;
                const std::string reason =
                    m_captions[ref.index] + (text.empty() ? std::string(" is blank")
                                                          : " holds " + quotedUnlessNumber(text) +
                                                                ", which is not a number");
                if (std::find(reasons.begin(), reasons.end(), reason) == reasons.end())
                    reasons.push_back(reason);
            }
            if (!reasons.empty())
                return "failed: " + joined(reasons, "; ") + ".";
        }
        const std::string values = withValues(m_list, rule.text, rule.id, read, aux);
        for (const auto &[flag, what] : failureWords) {
            if (failures & flag)
                return "failed: " + std::string(what) + " in " + values + ".";
        }
        return "failed: its evaluation failed in " + values + ".";
    }

    std::vector<std::string> texts() const
    {
        std::vector<std::string> read;
        for (std::size_t i = 0; i < m_solved.size(); ++i)
            read.push_back(m_solved.text(static_cast<FieldId>(i)));
        return read;
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
            for (Ref ref : references(m_list, seen[i], "an explanation")) {
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

std::string explainGiven(const std::string &text, const std::string &caption, bool isDefault)
{
    const std::string origin = isDefault ? "The window's default" : "Typed";
    if (strictToNumber(text))
        return shown(text) + "\n" + origin + "; the solve reads it and never changes it.";
    return shown(text) + "\n" + origin + ", but not a number: every rule that reads " + caption +
           " fails.";
}

std::vector<FieldExplanation> explainSolve(const RelationList &list, const Captions &captions,
                                           const SolveRecord &record, const FieldStore &solved,
                                           const std::vector<bool> &defaults)
{
    Explainer explainer(list, captions, record, solved, defaults);
    std::vector<FieldExplanation> explanations;
    for (std::size_t i = 0; i < list.fields.size(); ++i)
        explanations.push_back(explainer.explain(static_cast<FieldId>(i)));
    return explanations;
}

} // namespace zorvik
