// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/nonnumber.h"

#include "solver/conversions.h"
#include "solver/formulareferences.h"
#include "solver/texts.h"

#include <algorithm>
#include <cmath>

namespace zorvik {

namespace {

struct Reads {
    bool strict = false;
    bool lenient = false;
};

// How text reads field, through the auxiliary values it names as well.
Reads readsIn(const RelationList &list, std::string_view text, std::string_view owner,
              const std::vector<FieldId> &lenient, FieldId field)
{
    Reads reads;
    for (const FormulaReference &ref : formulaReferences(list, text, owner)) {
        Reads found;
        if (ref.aux) {
            const AuxValue &value = list.auxValues[ref.index];
            found = readsIn(list, value.text, value.name, value.lenient, field);
        } else if (static_cast<FieldId>(ref.index) == field) {
            (readsLeniently(lenient, field) ? found.lenient : found.strict) = true;
        }
        reads.strict |= found.strict;
        reads.lenient |= found.lenient;
    }
    return reads;
}

std::string lenientText(std::string_view text)
{
    const double value = lenientToNumber(text);
    return std::isfinite(value) ? numberToText(value)
                                : std::string("a number beyond the double range");
}

} // namespace

std::vector<NonNumberReading> nonNumberReadings(const RelationList &list, FieldId field)
{
    std::vector<NonNumberReading> readings;
    auto add = [&](const Rule &rule) {
        const Reads formula = readsIn(list, rule.text, rule.id, rule.lenient, field);
        const Reads test = readsIn(list, rule.when, rule.id, rule.lenient, field);
        const bool guarded =
            std::find(rule.guard.begin(), rule.guard.end(), field) != rule.guard.end();
        // A test that reads the field strictly keeps the formula from ever seeing a text that is
        // no number there, whatever the formula reads.
        if (test.strict)
            readings.push_back({&rule, nullptr, NonNumberUse::TestOnly});
        else if (formula.strict)
            readings.push_back({&rule, nullptr, NonNumberUse::Strict});
        else if (formula.lenient || test.lenient)
            readings.push_back({&rule, nullptr, NonNumberUse::Lenient});
        else if (guarded)
            readings.push_back({&rule, nullptr, NonNumberUse::GuardOnly});
    };
    for (const Rule &rule : list.prePass)
        add(rule);
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            add(rule);
    }
    for (const PassCopy &copy : list.endOfPass) {
        if (copy.source == field)
            readings.push_back({nullptr, &copy, NonNumberUse::Copied});
    }
    return readings;
}

std::string ruleName(const Rule &rule, const Captions &captions)
{
    return "the " + captions.name(rule.target) + " rule (" + std::string(rule.id) + ")";
}

std::string nonNumberText(const RelationList &list, const Captions &captions, FieldId field,
                          std::string_view text)
{
    std::vector<std::string> lenient;
    std::vector<std::string> strict;
    std::vector<std::string> tests;
    std::vector<std::string> guards;
    std::vector<std::string> copies;
    const std::vector<std::string> *all[] = {&lenient, &strict, &tests, &guards};
    for (const NonNumberReading &reading : nonNumberReadings(list, field)) {
        if (reading.copy) {
            copies.push_back("rule " + std::string(reading.copy->id) +
                             " copies it as it stands into " + captions.name(reading.copy->target));
            continue;
        }
        std::string name = ruleName(*reading.rule, captions);
        std::vector<std::string> *kind = &guards;
        switch (reading.use) {
        case NonNumberUse::Lenient:
            kind = &lenient;
            break;
        case NonNumberUse::Strict:
            kind = &strict;
            break;
        case NonNumberUse::TestOnly:
            kind = &tests;
            break;
        case NonNumberUse::GuardOnly:
            kind = &guards;
            break;
        case NonNumberUse::Copied:
            break;
        }
        // Two alternatives of one id are one rule to the user, named by what the first does.
        const bool named = std::any_of(std::begin(all), std::end(all), [&](const auto *names) {
            return std::find(names->begin(), names->end(), name) != names->end();
        });
        if (!named)
            kind->push_back(std::move(name));
    }
    std::vector<std::string> clauses;
    if (!lenient.empty())
        clauses.push_back("read as " + lenientText(text) + " by " + joined(lenient, ", ", " and ") +
                          (lenient.size() == 1 ? ", which reads" : ", which read") +
                          " up to the first character that is not part of a number");
    if (!strict.empty())
        clauses.push_back(joined(strict, ", ", " and ") + " cannot use it");
    if (!tests.empty())
        clauses.push_back(joined(tests, ", ", " and ") +
                          (tests.size() == 1 ? " applies" : " apply") + " only to a number there");
    if (!guards.empty())
        clauses.push_back(joined(guards, ", ", " and ") +
                          (guards.size() == 1 ? " only needs" : " only need") + " it filled" +
                          (guards.size() == 1 ? ", and reads" : ", and read") + " other fields");
    clauses.insert(clauses.end(), copies.begin(), copies.end());
    if (clauses.empty())
        return "no rule reads it";
    return joined(clauses, "; ");
}

} // namespace zorvik
