// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/consistency.h"

#include "solver/conversions.h"
#include "solver/texts.h"
#include "solver/values.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>

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

using Bits = std::uint64_t;

Bits bit(std::size_t field)
{
    return Bits(1) << field;
}

Bits maskOf(const std::vector<FieldId> &fields)
{
    Bits mask = 0;
    for (FieldId field : fields)
        mask |= bit(static_cast<std::size_t>(field));
    return mask;
}

} // namespace

// Per field, the fields its text was computed from through any chain of results: each field
// once, after the fields it read; a cycle of solves (a result read by the one that later filled
// its source) is finished by merging again until nothing changes.
class ConsistencyCheck::Ancestry {
public:
    // direct: by field, the fields it was computed from directly.
    Ancestry(const std::array<Bits, maxCheckedFields> &direct, std::size_t fieldCount)
        : m_direct(direct), m_count(fieldCount)
    {
        for (std::size_t field = 0; field < m_count; ++field)
            visit(field);
        for (bool changed = m_cycle; changed;) {
            changed = false;
            for (std::size_t field = 0; field < m_count; ++field)
                changed |= take(field);
        }
        for (std::size_t field = 0; field < m_count; ++field) {
            for (Bits from = m_ancestors[field]; from != 0; from &= from - 1)
                m_descendants[static_cast<std::size_t>(std::countr_zero(from))] |= bit(field);
        }
    }

    // The fields computed from field, directly or through other results.
    Bits descendants(std::size_t field) const { return m_descendants[field]; }
    // The fields field was computed from directly.
    Bits sources(std::size_t field) const { return m_direct[field]; }

private:
    enum State : unsigned char { Unseen, Visiting, Done };

    void visit(std::size_t field)
    {
        if (m_state[field] != Unseen) {
            m_cycle |= m_state[field] == Visiting;
            return;
        }
        m_state[field] = Visiting;
        for (Bits from = m_direct[field]; from != 0; from &= from - 1)
            visit(static_cast<std::size_t>(std::countr_zero(from)));
        take(field);
        m_state[field] = Done;
    }

    bool take(std::size_t field)
    {
        const Bits before = m_ancestors[field];
        m_ancestors[field] |= m_direct[field];
        for (Bits from = m_direct[field]; from != 0; from &= from - 1)
            m_ancestors[field] |= m_ancestors[static_cast<std::size_t>(std::countr_zero(from))];
        return m_ancestors[field] != before;
    }

    const std::array<Bits, maxCheckedFields> &m_direct;
    std::size_t m_count;
    std::array<Bits, maxCheckedFields> m_ancestors{};
    std::array<Bits, maxCheckedFields> m_descendants{};
    std::array<State, maxCheckedFields> m_state{};
    bool m_cycle = false;
};

ConsistencyCheck::ConsistencyCheck(const RelationList &list)
    : m_sources(list), m_checks(list.fields.size())
{
    if (list.fields.size() > maxCheckedFields)
        throw std::length_error("a list of " + std::to_string(list.fields.size()) +
                                " fields is more than the consistency check takes");
    std::vector<const Rule *> rounding;
    for (const Rule &rule : list.prePass)
        m_readMasks.emplace_back(&rule, maskOf(m_sources.of(rule)));
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group) {
            m_readMasks.emplace_back(&rule, maskOf(m_sources.of(rule)));
            if (rounds(rule)) {
                rounding.push_back(&rule);
                m_roughWrites.push_back(&rule);
            }
        }
    }
    for (const RuleGroup &group : list.groups) {
        std::vector<std::vector<Candidate>> *checks = nullptr;
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
            byGroup.back().push_back({&rule, maskOf(rule.guard), maskOf(reads), &reads});
        }
    }
    std::sort(m_readMasks.begin(), m_readMasks.end());
}

// The fields a solve wrote by rounding a count, or by undoing that rounding, and those computed
// from such a field: the count differs from the fraction the other fields give by up to a half,
// and so does all that follows from it. A write is known by its target and what it read, which
// are a rule's alone.
std::uint64_t ConsistencyCheck::roughResults(const Ancestry &ancestry) const
{
    Bits rough = 0;
    for (const Rule *rule : m_roughWrites) {
        const auto written = static_cast<std::size_t>(rule->target);
        if (ancestry.sources(written) == readMask(*rule))
            rough |= bit(written) | ancestry.descendants(written);
    }
    return rough;
}

std::uint64_t ConsistencyCheck::readMask(const Rule &rule) const
{
    const auto found = std::lower_bound(m_readMasks.begin(), m_readMasks.end(),
                                        std::pair<const Rule *, Bits>(&rule, 0));
    return found != m_readMasks.end() && found->first == &rule ? found->second : 0;
}

std::vector<Disagreement> ConsistencyCheck::check(const FieldStore &page,
                                                  const FieldSources &sources,
                                                  const std::vector<bool> &fresh) const
{
    std::array<Bits, maxCheckedFields> direct{};
    Bits freshMask = 0;
    for (std::size_t field = 0; field < sources.size() && field < m_checks.size(); ++field) {
        direct[field] = maskOf(sources[field]);
        if (field < fresh.size() && fresh[field])
            freshMask |= bit(field);
    }
    return check(page, direct, freshMask);
}

std::vector<Disagreement>
ConsistencyCheck::check(const FieldStore &page,
                        const std::vector<const SolveRecord *> &solves) const
{
    std::array<Bits, maxCheckedFields> direct{};
    Bits fresh = 0;
    for (const SolveRecord *solve : solves) {
        for (const SolveWrite &write : solve->writes) {
            if (write.rule) {
                const auto target = static_cast<std::size_t>(write.rule->target);
                direct.at(target) = readMask(*write.rule);
                fresh |= bit(target);
                continue;
            }
            // A copy writes over its target under every result that read it.
            const auto target = static_cast<std::size_t>(write.copy->target);
            direct.at(target) = bit(static_cast<std::size_t>(write.copy->source));
            fresh &= ~bit(target);
            for (std::size_t field = 0; field < m_checks.size(); ++field) {
                if (direct[field] & bit(target))
                    fresh &= ~bit(field);
            }
        }
    }
    return check(page, direct, fresh);
}

std::vector<Disagreement>
ConsistencyCheck::check(const FieldStore &page,
                        const std::array<std::uint64_t, maxCheckedFields> &direct,
                        std::uint64_t fresh) const
{
    std::vector<Disagreement> found;
    const RelationList &list = m_sources.list();
    if (page.size() != list.fields.size())
        return found;
    // Auxiliary values read only fields no rule fills, so they are what the last solve had.
    // Like the rest, worked out only for the first rule that has to be evaluated.
    std::vector<Num> aux;
    auto values = [&] {
        if (aux.size() < list.auxValues.size()) {
            aux.clear();
            for (const AuxValue &value : list.auxValues)
                aux.push_back(value.define(Values(page, aux)));
        }
        return Values(page, aux);
    };
    Bits filled = 0;
    for (std::size_t field = 0; field < page.size(); ++field)
        filled |= page.isBlank(static_cast<FieldId>(field)) ? 0 : bit(field);
    const Ancestry ancestry(direct, page.size());
    const Bits rough = roughResults(ancestry);
    for (std::size_t index = 0; index < m_checks.size(); ++index) {
        const auto field = static_cast<FieldId>(index);
        if (m_checks[index].empty() || !(filled & bit(index)) || (rough & bit(index)))
            continue;
        // What a rule may not read: the field, what follows from it, and rough results.
        const Bits dependent = bit(index) | ancestry.descendants(index) | rough;
        const bool isFresh = fresh & bit(index);
        std::optional<double> own;
        for (const std::vector<Candidate> &group : m_checks[index]) {
            // The first rule that gives a value from what does not follow from the field is the
            // one its group stands for here; the alternatives after it are what the solve falls
            // back on without it, and some assume more than the page says (two lips, a solid
            // hole).
            for (const Candidate &candidate : group) {
                const Rule *rule = candidate.rule;
                if ((candidate.guard & ~filled) || (candidate.readMask & dependent) ||
                    (rule->test && !rule->test(values())))
                    continue;
                // The rule that wrote the field, from what its sources still hold, gave its text.
                if (isFresh && ancestry.sources(index) == candidate.readMask)
                    break;
                if (!own)
                    own = strictToNumber(page.text(field));
                if (!own)
                    break;
                const Num given = rule->formula(values());
                if (!given.ok())
                    continue;
                const double difference = std::fabs(given.value() - *own);
                const double scale = std::max(std::fabs(given.value()), std::fabs(*own));
                if (difference > disagreementTolerance * scale) {
                    const double relative = *own == 0 ? std::numeric_limits<double>::infinity()
                                                      : (given.value() - *own) / std::fabs(*own);
                    found.push_back({field, rule, *candidate.reads, *own, given.value(), relative});
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
