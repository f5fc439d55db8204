// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/consistency.h"

#include "solver/conversions.h"
#include "solver/texts.h"
#include "solver/values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace zorvik {

namespace {

bool contains(const std::vector<FieldId> &fields, FieldId field)
{
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

bool rounds(const Rule &rule)
{
    return rule.text.find("round(") != std::string_view::npos ||
           rule.text.find("trunc(") != std::string_view::npos;
}

} // namespace

// Per field, the fields its text was computed from through any chain of results, as bits.
class ConsistencyCheck::Ancestry {
public:
    Ancestry(const FieldSources &sources, std::size_t fieldCount)
        : m_words((fieldCount + 63) / 64), m_bits(fieldCount * m_words)
    {
        const std::size_t known = std::min(sources.size(), fieldCount);
        bool changed = true;
        while (changed) {
            changed = false;
            for (std::size_t field = 0; field < known; ++field) {
                for (FieldId source : sources[field]) {
                    const auto from = static_cast<std::size_t>(source);
                    if (from >= fieldCount)
                        continue;
                    changed |= set(field, from);
                    for (std::size_t word = 0; word < m_words; ++word)
                        changed |= merge(field, word, m_bits[from * m_words + word]);
                }
            }
        }
    }

    bool derives(std::size_t field, std::size_t from) const
    {
        return (m_bits[field * m_words + from / 64] >> (from % 64)) & 1;
    }

private:
    bool set(std::size_t field, std::size_t from)
    {
        return merge(field, from / 64, std::uint64_t(1) << (from % 64));
    }
    bool merge(std::size_t field, std::size_t word, std::uint64_t bits)
    {
        std::uint64_t &mine = m_bits[field * m_words + word];
        const std::uint64_t before = mine;
        mine |= bits;
        return mine != before;
    }

    std::size_t m_words;
    std::vector<std::uint64_t> m_bits;
};

ConsistencyCheck::ConsistencyCheck(const RelationList &list)
    : m_sources(list), m_checks(list.fields.size())
{
    std::vector<const Rule *> rounding;
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group) {
            if (rounds(rule)) {
                rounding.push_back(&rule);
                m_roughWrites.push_back(&rule);
            }
        }
    }
    for (const RuleGroup &group : list.groups) {
        std::vector<std::vector<const Rule *>> *checks = nullptr;
        for (const Rule &rule : group) {
            const std::vector<FieldId> &reads = m_sources.of(rule);
            const bool undoesRounding =
                std::any_of(rounding.begin(), rounding.end(), [&](const Rule *rounder) {
                    return contains(reads, rounder->target) &&
                           contains(m_sources.of(*rounder), rule.target);
                });
            if (undoesRounding) {
                m_roughWrites.push_back(&rule);
                continue;
            }
            // A group fills one field, as every list has it; a rule for another starts its own.
            auto &byGroup = m_checks.at(static_cast<std::size_t>(rule.target));
            if (checks != &byGroup || byGroup.empty())
                byGroup.emplace_back();
            checks = &byGroup;
            byGroup.back().push_back(&rule);
        }
    }
}

// By field, whether a solve wrote it by rounding a count, or by undoing that rounding, or
// computed it from such a field: the count differs from the fraction the other fields give by up
// to a half, and so does all that follows from it. A write is known by its target and what it
// read, which are a rule's alone.
std::vector<bool> ConsistencyCheck::roughResults(const Ancestry &ancestry,
                                                 const FieldSources &sources) const
{
    std::vector<bool> rough(m_checks.size());
    for (const Rule *rule : m_roughWrites) {
        const auto written = static_cast<std::size_t>(rule->target);
        if (written >= sources.size() || sources[written] != m_sources.of(*rule))
            continue;
        for (std::size_t field = 0; field < rough.size(); ++field) {
            if (field == written || ancestry.derives(field, written))
                rough[field] = true;
        }
    }
    return rough;
}

std::vector<Disagreement> ConsistencyCheck::check(const FieldStore &page,
                                                  const FieldSources &sources) const
{
    std::vector<Disagreement> found;
    const RelationList &list = m_sources.list();
    if (page.size() != list.fields.size())
        return found;
    // Auxiliary values read only fields no rule fills, so they are what the last solve had.
    std::vector<Num> aux;
    aux.reserve(list.auxValues.size());
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(page, aux)));
    const Values values(page, aux);
    std::optional<Ancestry> ancestry; // only once a rule applies
    std::vector<bool> rounded;
    for (std::size_t index = 0; index < m_checks.size(); ++index) {
        const auto field = static_cast<FieldId>(index);
        if (m_checks[index].empty() || page.isBlank(field))
            continue;
        const std::optional<double> own = strictToNumber(page.text(field));
        if (!own)
            continue;
        for (const std::vector<const Rule *> &group : m_checks[index]) {
            // The first rule that gives a value from what does not follow from the field is the
            // one its group stands for here; the alternatives after it are what the solve falls
            // back on without it, and some assume more than the page says (two lips, a solid hole).
            for (const Rule *rule : group) {
                const bool guarded =
                    std::all_of(rule->guard.begin(), rule->guard.end(),
                                [&](FieldId source) { return !page.isBlank(source); });
                if (!guarded || (rule->test && !rule->test(values)))
                    continue;
                if (!ancestry) {
                    ancestry.emplace(sources, page.size());
                    rounded = roughResults(*ancestry, sources);
                }
                const std::vector<FieldId> &reads = m_sources.of(*rule);
                const bool independent =
                    !rounded[index] && std::none_of(reads.begin(), reads.end(), [&](FieldId read) {
                        const auto at = static_cast<std::size_t>(read);
                        return read == field || rounded[at] || ancestry->derives(at, index);
                    });
                if (!independent)
                    continue;
                const Num given = rule->formula(values);
                if (!given.ok())
                    continue;
                const double difference = std::fabs(given.value() - *own);
                const double scale = std::max(std::fabs(given.value()), std::fabs(*own));
                if (difference > disagreementTolerance * scale) {
                    const double relative = *own == 0 ? std::numeric_limits<double>::infinity()
                                                      : (given.value() - *own) / std::fabs(*own);
                    found.push_back({field, rule, reads, *own, given.value(), relative});
                }
                break;
            }
        }
    }
    return found;
}

std::vector<Disagreement> checkConsistency(const RelationList &list, const FieldStore &page,
                                           const FieldSources &sources)
{
    return ConsistencyCheck(list).check(page, sources);
}

namespace {

// "+59 %", "−4.2 %": two significant digits at least, whole percent from 10 % on.
std::string percentText(double relative)
{
    const double percent = relative * 100;
    const double shown = std::fabs(percent) < 10 ? std::round(std::fabs(percent) * 10) / 10
                                                 : std::round(std::fabs(percent));
    return (percent < 0 ? "−" : "+") + numberToText(shown) + " %";
}

} // namespace

std::string disagreementText(const Disagreement &disagreement, const FieldStore &page,
                             const Captions &captions, const std::vector<std::string_view> &units)
{
    auto named = [&](FieldId field) {
        const std::string &text = page.text(field);
        return captionName(captions.at(static_cast<std::size_t>(field))) + " " +
               (text.empty() ? std::string("blank") : shownText(text));
    };
    std::vector<std::string> sources;
    for (FieldId source : disagreement.sources)
        sources.push_back(named(source));
    const auto index = static_cast<std::size_t>(disagreement.field);
    const std::string_view unit = index < units.size() ? units[index] : std::string_view();
    std::string value = numberToText(roundedToSignificant(disagreement.ruleValue, 6));
    if (!unit.empty() && unit != "ratio" && unit != "count")
        (value += ' ') += unit;
    if (std::isfinite(disagreement.relative))
        value += " (" + percentText(disagreement.relative) + ")";
    return named(disagreement.field) + " disagrees with " + joined(sources, ", ", " and ") +
           (sources.size() == 1 ? ", which gives " : ", which give ") + value +
           ": one of them is out of date or mistyped.";
}

} // namespace zorvik
