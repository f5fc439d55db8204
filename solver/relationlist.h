// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/fieldstore.h"
#include "solver/values.h"

#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// What a formula or test is given; the relation lists write them as [](V v) { … }.
using V = const Values &;
using Formula = Num (*)(V);
using AuxTest = bool (*)(V);

// Fills target from formula when target is blank, every guard field is non-blank and the
// optional test (on auxiliary values or on what the fields read as) holds.
//
// text is the formula as users read it, in its evaluation order: fields and auxiliary values as
// {name} (a field's name without its "txt"), numbers, + − × / and parentheses, π, and the
// functions sin, arctan, √, arcsine (in degrees), round (halves to even), trunc and lenient (a
// field read by the lenient conversion). when is the test in the same words.
struct Rule {
    std::string_view id;
    FieldId target;
    std::vector<FieldId> guard;
    std::string_view text;
    Formula formula;
    AuxTest test = nullptr;
    std::string_view when = {};
    // Where the formula cannot give its target back from what it reads (an arcsine at the edge
    // of its branch, where every larger angle has the same sine), the consistency check does not
    // hold the target to it: the rule the other way round checks the same relation. The solve
    // ignores it.
    AuxTest lossy = nullptr;
    // For a rule that rounds or truncates to a count: the fraction it rounds. A count stands for
    // every fraction within its rounding, so what follows from it may differ from what the
    // fraction gives by their ratio; the consistency check allows for that.
    Formula unrounded = nullptr;
    // The fields formula and test read only through the lenient conversion, as lenient({name})
    // and nowhere as {name} alone: a text there that is no number does not fail the rule.
    std::vector<FieldId> lenient = {};
};

// Alternatives for one quantity, best first: the first applicable rule ends the group for the
// pass, whether or not its evaluation succeeds.
using RuleGroup = std::vector<Rule>;

// Computed once per solve from the field texts, after the pre-pass rules and before the first
// pass; it does not follow later changes of the fields.
struct AuxValue {
    std::string_view name; // as formula texts name it
    std::string_view caption;
    std::string_view text; // as a rule's text
    Formula define;
    std::vector<FieldId> lenient = {}; // as a rule's
};

// Copies a text unchanged at the end of every pass, overwriting whatever the target holds.
struct PassCopy {
    std::string_view id;
    FieldId source;
    FieldId target;
};

struct RelationList {
    std::vector<std::string_view> fields; // FieldId -> name on the first page
    // Formula texts name a field by its name without this ({idiam} is txtidiam).
    std::string_view formulaPrefix = "txt";
    std::vector<Rule> prePass = {}; // each tried once, before the auxiliary values
    std::vector<AuxValue> auxValues = {};
    std::vector<RuleGroup> groups;
    std::vector<PassCopy> endOfPass = {};
    int passes = 24;

    // -1 when the list has no such field, for callers that report an unknown name themselves;
    // a FieldStore refuses -1 with std::out_of_range.
    FieldId fieldId(std::string_view name) const;
    // The field a formula text calls {name}; -1 for none.
    FieldId formulaField(std::string_view name) const;
};

// Per field id, the name users know a field by: the caption its window shows, without the
// colon. Windows that share a list (longitudinal and face turning) name its fields each in
// their own words. names holds what a sentence calls each field, its caption without the unit
// ("Spindle Speed" for "Spindle Speed (R.P.M)"); a field it lacks is called by its caption.
struct Captions : std::vector<std::string> {
    using std::vector<std::string>::vector;
    std::vector<std::string> names = {};

    const std::string &name(FieldId field) const
    {
        const auto index = static_cast<std::size_t>(field);
        return index < names.size() ? names[index] : at(index);
    }
};

// Whether a rule or auxiliary value with these lenient fields reads field only leniently.
bool readsLeniently(const std::vector<FieldId> &lenient, FieldId field);

// base with some rules replaced, each in its place by the rule of base with its id, and the rules
// with the ids in dropped left out: for a list that differs from another in a few rules only.
// Throws std::invalid_argument naming the id when base has no rule, or more than one, of an id
// given.
RelationList amended(const RelationList &base, const std::vector<Rule> &replacements,
                     const std::vector<std::string_view> &dropped = {});

} // namespace zorvik
