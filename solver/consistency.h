// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"
#include "solver/fieldstore.h"
#include "solver/provenance.h"
#include "solver/relationlist.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zorvik {

// A field whose number differs by more than the tolerance from what a rule gives for it from
// other fields of the page.
struct Disagreement {
    FieldId field;
    const Rule *rule;
    std::vector<FieldId> sources; // as ruleSources gives them
    double fieldValue;
    double ruleValue;
    // (ruleValue - fieldValue) / |fieldValue|: +0.59 where the rule gives 59 % more. An infinity
    // where the field holds 0.
    double relative;
};

// The most fields a list checked may have; every window has far fewer.
inline constexpr std::size_t maxCheckedFields = 64;

static_assert(maxCheckedFields <= FieldStore::keptFields,
              "the check reads which fields are filled");

// Values further apart than this, relative to the larger, disagree.
inline constexpr double disagreementTolerance = 0.01;

// Checks pages of one list; the sources of its rules are worked out once.
class ConsistencyCheck {
public:
    // Throws std::length_error for a list of more than maxCheckedFields fields.
    explicit ConsistencyCheck(const RelationList &list);

    // For every field of page that holds a number, every rule that fills it gives a value when
    // its guard fields are filled, its test holds and its evaluation succeeds. Alternatives of
    // one id are one rule, the first whose test holds; rules that link the same fields state one
    // relation, reported once, at the first field found: first those whose rules read nothing
    // computed, directly or through other results, from that field (by sources, per field id,
    // as the page keeps them), then the rest, so that a result out of date is named before the
    // field it was computed from. A rule is not held to where it is lossy (it says so). Every
    // value further than the tolerance from the field's number is returned.
    // Not checked: pre-pass rules, which only fill an approach nobody typed; pass copies, which
    // the next solve repeats; and a rule that undoes a rounding (it reads a field that a rule
    // rounds, and fills a field that rule reads), since a count cannot hold the fraction the
    // rule would need. Nor is a field a solve wrote by rounding, nor what follows from it, nor a
    // rule that reads either: the count differs from the fraction the other fields give by up to
    // a half.
    //
    // fresh names the results written by the rule their sources name from the texts those
    // sources hold now, as right after the solve that wrote them: such a rule gave the field's
    // text, and is not evaluated again. It only saves time.
    std::vector<Disagreement> check(const FieldStore &page, const FieldSources &sources,
                                    const std::vector<FieldId> &fresh = {}) const;
    // The same right after the solves recorded (in order; records that keep no texts do), which
    // give the sources and the fresh results: as a batch checks each row.
    std::vector<Disagreement> check(const FieldStore &page,
                                    std::initializer_list<const SolveRecord *> solves) const;

    const ListSources &sources() const { return m_sources; }

private:
    class Ancestry;
    struct Plan;
    std::vector<Disagreement> check(const FieldStore &page,
                                    const std::array<std::uint64_t, maxCheckedFields> &direct,
                                    std::uint64_t fresh) const;
    struct Candidate;
    void plan(Plan &plan) const;
    void planGroup(Plan &plan, const std::vector<Candidate> &group, std::size_t index,
                   bool following, std::uint64_t descendants, bool isFresh,
                   const Ancestry &ancestry, const std::vector<std::uint64_t> &stated) const;
    std::uint64_t readMask(const Rule &rule) const;
    std::size_t readSlot(const Rule &rule) const;

    // Tells the plans of one check from another's; its copies share it, and their plans.
    std::uint64_t m_serial;
    ListSources m_sources;
    // By field: per group that fills it, the rules that may check it, in the group's order.
    struct Candidate {
        const Rule *rule;
        std::uint64_t guard;    // its guard fields, as bits by field id
        std::uint64_t readMask; // its sources, as bits
    };
    std::vector<std::vector<std::vector<Candidate>>> m_checks;
    // The rules that round or truncate a count, each with the fields the count and what rules
    // compute from it directly take (as bits by field id).
    std::vector<std::pair<const Rule *, std::uint64_t>> m_rounding;
    std::vector<std::pair<const Rule *, std::uint64_t>> m_readMasks; // hashed
};

// ConsistencyCheck(list).check(page, sources), for a single page.
std::vector<Disagreement> checkConsistency(const RelationList &list, const FieldStore &page,
                                           const FieldSources &sources);

} // namespace zorvik
