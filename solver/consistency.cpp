// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/consistency.h"

#include "solver/conversions.h"
#include "solver/texts.h"
#include "solver/values.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>

namespace zorvik {

namespace {

bool contains(const std::vector<FieldId> &fields, FieldId field)
{
    return std::find(fields.begin(), fields.end(), field) != fields.end();
}

using Bits = std::uint64_t;

// A rule that gives its field back this close, relative to the larger value, agrees to the
// digits a result is written with, give or take the last few.
constexpr double exactAgreement = 1e-9;
// Below every value a page holds (a thousandth of a micrometre, of a watt): what is left of a
// difference of equal values once rounding has had its say.
constexpr double noise = 1e-9;
// How closely a value off by a count's ratio must match that ratio to be no disagreement.
constexpr double countAgreement = 1e-4;

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

namespace {

std::atomic<std::uint64_t> checksMade{0};

} // namespace

ConsistencyCheck::ConsistencyCheck(const RelationList &list)
    : m_serial(++checksMade), m_sources(list), m_checks(list.fields.size())
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
            if (rule.unrounded)
                rounding.push_back(&rule);
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
            if (undoesRounding)
                continue;
            // A group fills one field, as every list has it; a rule for another starts its own.
            auto &byGroup = m_checks.at(static_cast<std::size_t>(rule.target));
            if (checks != &byGroup || byGroup.empty())
                byGroup.emplace_back();
            checks = &byGroup;
            byGroup.back().push_back({&rule, maskOf(rule.guard), maskOf(reads)});
        }
    }
    // What a count can touch: itself, and what rules compute from it, directly or through
    // other results.
    for (const Rule *rounder : rounding) {
        Bits touched = bit(static_cast<std::size_t>(rounder->target));
        for (Bits before = 0; before != touched;) {
            before = touched;
            for (const RuleGroup &group : list.groups) {
                for (const Rule &rule : group) {
                    if (&rule != rounder && (maskOf(m_sources.of(rule)) & touched))
                        touched |= bit(static_cast<std::size_t>(rule.target));
                }
            }
        }
        m_rounding.push_back({rounder, touched});
    }
    // Open addressing at most half full, by the rule's address: a batch looks up every write.
    std::vector<std::pair<const Rule *, Bits>> masks;
    masks.swap(m_readMasks);
    m_readMasks.assign(std::bit_ceil(2 * masks.size() + 1), {nullptr, 0});
    for (const auto &[rule, mask] : masks) {
        std::size_t slot = readSlot(*rule);
        while (m_readMasks[slot].first)
            slot = (slot + 1) & (m_readMasks.size() - 1);
        m_readMasks[slot] = {rule, mask};
    }
}

std::size_t ConsistencyCheck::readSlot(const Rule &rule) const
{
    const auto address = reinterpret_cast<std::uintptr_t>(&rule);
    return static_cast<std::size_t>((address / alignof(Rule)) * 0x9E3779B97F4A7C15 >> 32) &
           (m_readMasks.size() - 1);
}

std::uint64_t ConsistencyCheck::readMask(const Rule &rule) const
{
    for (std::size_t slot = readSlot(rule);; slot = (slot + 1) & (m_readMasks.size() - 1)) {
        const auto &[known, mask] = m_readMasks[slot];
        if (known == &rule || !known)
            return mask;
    }
}

std::vector<Disagreement> ConsistencyCheck::check(const FieldStore &page,
                                                  const FieldSources &sources,
                                                  const std::vector<FieldId> &fresh) const
{
    // Only the list's fields are read; the rest of the array is left as it is, since a check of
    // a cheap page costs no more than setting it.
    std::array<Bits, maxCheckedFields> direct;
    const std::size_t fields = m_checks.size();
    const std::size_t known = std::min(sources.size(), fields);
    for (std::size_t field = 0; field < known; ++field)
        direct[field] = maskOf(sources[field]);
    std::fill(direct.begin() + static_cast<std::ptrdiff_t>(known),
              direct.begin() + static_cast<std::ptrdiff_t>(fields), 0);
    Bits freshMask = 0;
    for (FieldId field : fresh) {
        if (static_cast<std::size_t>(field) < fields)
            freshMask |= bit(static_cast<std::size_t>(field));
    }
    return check(page, direct, freshMask);
}

std::vector<Disagreement>
ConsistencyCheck::check(const FieldStore &page,
                        std::initializer_list<const SolveRecord *> solves) const
{
    // The rows of a batch repeat a few sequences of writes: the sources and fresh results of
    // the last one are kept, and a row that repeats it only compares what wrote.
    struct Writes {
        std::uint64_t owner = 0;
        std::vector<const void *> writers;
        std::array<Bits, maxCheckedFields> direct{};
        Bits fresh = 0;
    };
    thread_local Writes last;
    bool same = last.owner == m_serial;
    std::size_t count = 0;
    for (const SolveRecord *solve : solves) {
        for (const SolveWrite &write : solve->writes) {
            const void *writer = write.rule ? static_cast<const void *>(write.rule) : write.copy;
            same = same && count < last.writers.size() && last.writers[count] == writer;
            ++count;
        }
    }
    if (same && count == last.writers.size())
        return check(page, last.direct, last.fresh);
    last.owner = 0; // until it is whole
    last.writers.clear();
    std::array<Bits, maxCheckedFields> &direct = last.direct;
    direct.fill(0);
    Bits fresh = 0;
    for (const SolveRecord *solve : solves) {
        for (const SolveWrite &write : solve->writes) {
            if (write.rule) {
                last.writers.push_back(write.rule);
                const auto target = static_cast<std::size_t>(write.rule->target);
                direct.at(target) = readMask(*write.rule);
                fresh |= bit(target);
                continue;
            }
            last.writers.push_back(write.copy);
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
    last.fresh = fresh;
    last.owner = m_serial;
    return check(page, direct, fresh);
}

// What a check of one pattern of page evaluates: the pattern is which fields hold text, what
// each result was computed from directly and which results are as their rule wrote them. Which
// rules may check a field follows from the pattern alone, and working it out (what follows from
// what, through every result) costs more than the rules themselves; the rows of a batch and the
// Calculates of a window repeat few patterns. So each thread keeps the plan of the last pattern
// it checked.
struct ConsistencyCheck::Plan {
    // The check and the pattern the plan is for.
    std::uint64_t owner = 0;
    std::size_t fieldCount = 0;
    std::array<Bits, maxCheckedFields> direct{};
    Bits fresh = 0;
    Bits filled = 0;

    // A rule to try for a field, in its group's order. The one that wrote the field's text from
    // what its sources hold now gave that text: once its test holds, the group agrees.
    struct Try {
        const Rule *rule;
        bool wrote;
        bool conditional; // the rule has a test, or is lossy somewhere
        // The first try of the run of alternatives of its id it belongs to: ids are compared
        // once, here, not on every page.
        std::uint32_t run;
        // The relation it states, numbered by the fields it links (its target and what it
        // reads): rules over the same fields share one.
        std::uint32_t relation;
    };
    // The rules one group of a field may be checked by, as tries[begin, end).
    struct Step {
        FieldId field;
        std::uint32_t begin;
        std::uint32_t end;
    };
    std::vector<Step> steps;
    std::vector<Try> tries;
    std::vector<Bits> relations; // the fields each relation links, by number
    std::vector<Num> aux;        // kept for its room
    // A count on the page, the fraction it was rounded from, and the fields either touches.
    struct Count {
        double count;
        double fraction;
        Bits touched;
    };
    std::vector<Count> counts; // the same
};

void ConsistencyCheck::plan(Plan &plan) const
{
    plan.steps.clear();
    plan.tries.clear();
    plan.relations.clear();
    const Ancestry ancestry(plan.direct, plan.fieldCount);
    // The relations the last solve stated on these very texts: a result fresh from its rule
    // holds the one its rule states, whichever of its fields a rule is solved for.
    std::vector<Bits> stated;
    for (Bits fresh = plan.fresh & plan.filled; fresh != 0; fresh &= fresh - 1) {
        const auto field = static_cast<std::size_t>(std::countr_zero(fresh));
        if (field < plan.fieldCount)
            stated.push_back(bit(field) | ancestry.sources(field));
    }
    // First the rules that read nothing that follows from the field; then those that read
    // what follows from it: a field's own consequences are no evidence for it, so where they
    // disagree the field they were computed from is not the one to blame first, but a
    // relation only they link to it (a typed area against a depth and a feed, through a speed
    // computed from the removal rate and that area) is tested all the same.
    for (const bool following : {false, true}) {
        for (std::size_t index = 0; index < m_checks.size(); ++index) {
            if (m_checks[index].empty() || !(plan.filled & bit(index)))
                continue;
            const Bits descendants = ancestry.descendants(index) & ~bit(index);
            if (following && !descendants)
                continue;
            const bool isFresh = plan.fresh & bit(index);
            for (const std::vector<Candidate> &group : m_checks[index])
                planGroup(plan, group, index, following, descendants, isFresh, ancestry, stated);
        }
    }
}

void ConsistencyCheck::planGroup(Plan &plan, const std::vector<Candidate> &group,
                                 std::size_t index, bool following, std::uint64_t descendants,
                                 bool isFresh, const Ancestry &ancestry,
                                 const std::vector<std::uint64_t> &stated) const
{
    // Which of the rules are evaluated is decided on the page's numbers (their tests,
    // alternatives of one id).
    const auto begin = static_cast<std::uint32_t>(plan.tries.size());
    // The id of a rule that gave the field's text and has no test: once reached it is taken,
    // so it and its later alternatives need no try.
    std::string_view passed;
    for (const Candidate &candidate : group) {
        if ((candidate.guard & ~plan.filled) || (candidate.readMask & bit(index)) ||
            bool(candidate.readMask & descendants) != following ||
            (!passed.empty() && candidate.rule->id == passed))
            continue;
        const Bits relation = candidate.readMask | bit(index);
        const bool wrote = isFresh && ancestry.sources(index) == candidate.readMask;
        if (wrote && !candidate.rule->test && !candidate.rule->lossy) {
            passed = candidate.rule->id;
            continue;
        }
        if (following && std::find(stated.begin(), stated.end(), relation) != stated.end())
            continue;
        const auto at = static_cast<std::uint32_t>(plan.tries.size());
        const bool sameId = at != begin && plan.tries.back().rule->id == candidate.rule->id;
        auto known = std::find(plan.relations.begin(), plan.relations.end(), relation);
        if (known == plan.relations.end())
            known = plan.relations.insert(known, relation);
        plan.tries.push_back({candidate.rule, wrote,
                              candidate.rule->test || candidate.rule->lossy,
                              sameId ? plan.tries.back().run : at,
                              static_cast<std::uint32_t>(known - plan.relations.begin())});
    }
    const auto end = static_cast<std::uint32_t>(plan.tries.size());
    if (end != begin)
        plan.steps.push_back({static_cast<FieldId>(index), begin, end});
}

std::vector<Disagreement>
ConsistencyCheck::check(const FieldStore &page,
                        const std::array<std::uint64_t, maxCheckedFields> &direct,
                        std::uint64_t fresh) const
{
    std::vector<Disagreement> found;
    const RelationList &list = m_sources.list();
    const std::size_t count = page.size();
    if (count != list.fields.size())
        return found;
    const Bits filled = page.filled();
    // The rows of a batch alternate between a few patterns, and so between a few plans.
    thread_local std::array<Plan, 8> plans;
    thread_local std::size_t replaced = 0;
    auto isFor = [&](const Plan &plan) {
        return plan.owner == m_serial && plan.fieldCount == count && plan.fresh == fresh &&
               plan.filled == filled &&
               std::equal(direct.begin(), direct.begin() + static_cast<std::ptrdiff_t>(count),
                          plan.direct.begin());
    };
    // A batch's rows mostly repeat the last row's pattern: that plan is looked at first.
    thread_local std::size_t last = 0;
    auto kept = plans.begin() + static_cast<std::ptrdiff_t>(last);
    if (!isFor(*kept))
        kept = std::find_if(plans.begin(), plans.end(), isFor);
    if (kept == plans.end()) {
        kept = plans.begin() + static_cast<std::ptrdiff_t>(replaced);
        replaced = (replaced + 1) % plans.size();
        kept->owner = 0; // until the plan is whole
        kept->fieldCount = count;
        std::copy_n(direct.begin(), count, kept->direct.begin());
        kept->fresh = fresh;
        kept->filled = filled;
        plan(*kept);
        kept->owner = m_serial;
    }
    last = static_cast<std::size_t>(kept - plans.begin());
    Plan &planned = *kept;
    const PageReadings readings(page);
    // Auxiliary values read only fields no rule fills, so they are what the last solve had;
    // worked out only when some rule may be evaluated.
    std::vector<Num> &aux = planned.aux;
    aux.clear();
    const Values values(readings, aux);
    if (!planned.tries.empty()) {
        for (const AuxValue &value : list.auxValues)
            aux.push_back(value.define(values));
    }
    // Every rule whose fields are filled is checked, not only the one the solve took: a relation
    // that no writer stated is tested too. The rules that link the same fields state one
    // relation, each solved for another of them: each is evaluated, since a relation can hold
    // within the tolerance for one of its fields and not for another (a small difference of two
    // large lengths). A relation is settled once it is reported, or once one of its rules gives
    // its field back to nine digits: another of its fields could then be off by the tolerance
    // only through a relation that magnifies a difference ten million times, and its other
    // rules are not evaluated.
    // By relation number; those beyond the bits here are never settled.
    Bits settled = 0;
    auto isSettled = [&](std::uint32_t relation) { return relation < 64 && (settled & bit(relation)); };
    auto settle = [&](std::uint32_t relation) {
        if (relation < 64)
            settled |= bit(relation);
    };
    // A count a rule rounded (teeth engaged, cuts) stands for the fraction it was rounded from:
    // what was computed from the count differs from what the fraction gives by their ratio, so a
    // value off by just that ratio (or its inverse) from the field's is no disagreement, where
    // the relation links the count or what a rule computes from it. Worked out on the first
    // disagreement: the pairs of count and fraction on the page.
    std::vector<Plan::Count> &counts = planned.counts;
    bool countsKnown = false;
    auto byCount = [&](Bits relation, double given, double own) {
        if (!countsKnown) {
            counts.clear();
            for (const auto &[rounder, touched] : m_rounding) {
                if ((readMask(*rounder) | bit(static_cast<std::size_t>(rounder->target))) &
                        ~filled ||
                    (rounder->test && !rounder->test(values)))
                    continue;
                const Num count = readings[rounder->target];
                const Num fraction = rounder->unrounded(values);
                if (count.ok() && fraction.ok() && count.value() != fraction.value())
                    counts.push_back({count.value(), fraction.value(), touched});
            }
            countsKnown = true;
        }
        // Closer than the tolerance: what follows from a count follows from it to the digits
        // it is written with, and a move of a few percent seldom matches a count's ratio so.
        auto near = [](double a, double b) {
            return std::fabs(a - b) <= countAgreement * std::max(std::fabs(a), std::fabs(b));
        };
        return std::any_of(counts.begin(), counts.end(), [&](const Plan::Count &count) {
            return (relation & count.touched) &&
                   (near(given * count.fraction, own * count.count) ||
                    near(given * count.count, own * count.fraction));
        });
    };
    for (const Plan::Step &step : planned.steps) {
        // Alternatives of one id are one relation, the first whose test holds: the others
        // assume what the page does not say (a solid hole, say, where the page opens one).
        std::uint32_t taken = step.end;
        for (std::uint32_t at = step.begin; at != step.end; ++at) {
            const Plan::Try &attempt = planned.tries[at];
            const Rule *rule = attempt.rule;
            if (attempt.run == taken)
                continue;
            if (attempt.conditional && ((rule->test && !rule->test(values)) ||
                                        (rule->lossy && rule->lossy(values))))
                continue;
            taken = attempt.run;
            if (attempt.wrote || isSettled(attempt.relation))
                continue;
            const Num own = readings[step.field];
            if (!own.ok())
                break;
            const Num given = rule->formula(values);
            if (!given.ok())
                continue;
            const double difference = std::fabs(given.value() - own.value());
            const double scale = std::max(std::fabs(given.value()), std::fabs(own.value()));
            // Two values that are both zero but for a cancellation's leftovers agree.
            if (difference > disagreementTolerance * scale && scale > noise &&
                !byCount(planned.relations[attempt.relation], given.value(), own.value())) {
                settle(attempt.relation);
                const double relative =
                    own.value() == 0 ? std::numeric_limits<double>::infinity()
                                     : (given.value() - own.value()) / std::fabs(own.value());
                found.push_back(
                    {step.field, rule, m_sources.of(*rule), own.value(), given.value(), relative});
            } else if (difference <= exactAgreement * scale) {
                settle(attempt.relation);
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

} // namespace zorvik
