// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// Index of a field in its relation list's field table.
using FieldId = int;

class CheckedStore;

// The texts of one page's fields. A field is blank only when its text is exactly empty.
// Every access checks its id: one outside the store throws std::out_of_range, so a name that did
// not resolve (-1) or a store made for another list stops loudly instead of writing anywhere.
class FieldStore {
public:
    explicit FieldStore(std::size_t fieldCount) : m_texts(fieldCount) {}

    std::size_t size() const { return m_texts.size(); }
    const std::vector<std::string> &texts() const { return m_texts; }
    const std::string &text(FieldId field) const { return m_texts[index(field)]; }
    // Assigned into the field's text, which keeps its room: a store reused page after page, as a
    // batch does, then rarely allocates.
    void setText(FieldId field, std::string_view text) { m_texts[index(field)].assign(text); }
    bool isBlank(FieldId field) const { return m_texts[index(field)].empty(); }
    // Throws std::out_of_range, as the accessors do, unless the store has field.
    void check(FieldId field) const { index(field); }

private:
    // The solve loop's access, on ids it has checked once per solve.
    friend class CheckedStore;

    std::size_t index(FieldId field) const
    {
        if (field < 0 || static_cast<std::size_t>(field) >= m_texts.size())
            throwOutOfRange(field);
        return static_cast<std::size_t>(field);
    }
    [[noreturn]] void throwOutOfRange(FieldId field) const;

    std::vector<std::string> m_texts;
};

// What a formula sees: fields through the strict conversion (a blank or malformed text is a
// failed number), fields through the lenient conversion, and the solve's auxiliary values.
class Values {
public:
    Values(const FieldStore &store, const std::vector<Num> &aux) : m_store(store), m_aux(aux) {}

    Num operator[](FieldId field) const;
    Num lenient(FieldId field) const;
    // Throws std::out_of_range unless the value is computed by now: a pre-pass rule runs before
    // any, and a value's definition before itself and the values after it.
    Num aux(int index) const
    {
        if (static_cast<std::size_t>(index) >= m_aux.size())
            throwAuxOutOfRange(index);
        return m_aux[static_cast<std::size_t>(index)];
    }

private:
    [[noreturn]] void throwAuxOutOfRange(int index) const;

    // The solve's view, which reads each text through the strict conversion only once.
    friend class CheckedStore;
    Values(const CheckedStore &checked, const FieldStore &store, const std::vector<Num> &aux)
        : m_store(store), m_aux(aux), m_checked(&checked)
    {}

    const FieldStore &m_store;
    const std::vector<Num> &m_aux;
    const CheckedStore *m_checked = nullptr;
};

using Formula = Num (*)(const Values &);
using AuxTest = bool (*)(const Values &);

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
};

// Copies a text unchanged at the end of every pass, overwriting whatever the target holds.
struct PassCopy {
    std::string_view id;
    FieldId source;
    FieldId target;
};

struct RelationList {
    std::vector<std::string_view> fields; // FieldId -> name on the first page
    std::vector<Rule> prePass = {};       // each tried once, before the auxiliary values
    std::vector<AuxValue> auxValues = {};
    std::vector<RuleGroup> groups;
    std::vector<PassCopy> endOfPass = {};
    int passes = 24;

    // -1 when the list has no such field, for callers that report an unknown name themselves;
    // a FieldStore refuses -1 with std::out_of_range.
    FieldId fieldId(std::string_view name) const;
};

// base with some rules replaced, each in its place by the rule of base with its id, and the rules
// with the ids in dropped left out: for a list that differs from another in a few rules only.
// Throws std::invalid_argument naming the id when base has no rule, or more than one, of an id
// given.
RelationList amended(const RelationList &base, const std::vector<Rule> &replacements,
                     const std::vector<std::string_view> &dropped = {});

// Called for every text the solve writes. pass is 0 for the pre-pass rules.
using SolveTrace =
    std::function<void(int pass, std::string_view rule, FieldId field, const std::string &text)>;

// One text a solve wrote, with every field's text as the rule read them.
struct SolveWrite {
    int pass;             // 0 for a pre-pass rule
    const Rule *rule;     // null for a pass copy
    const PassCopy *copy; // null for a rule
    std::vector<std::string> read;
};

// What an explanation needs of a solve: the texts it started from, its auxiliary values and
// every write, in order.
struct SolveRecord {
    std::vector<std::string> given;
    std::vector<std::string> auxRead; // the texts the auxiliary values were computed from
    std::vector<Num> aux;
    std::vector<SolveWrite> writes;
};

// A relation list made ready for many solves: its ids are checked against its own fields, and
// what the solve loop needs of its shape is worked out, once rather than at every solve, where
// the two took a tenth of a page's solve. It refers to the list, which must outlive it unchanged.
class PreparedList {
public:
    // Throws std::out_of_range, naming the first such id, when a rule or a copy of the list names
    // an id outside the list's fields.
    explicit PreparedList(const RelationList &list);

    const RelationList &list() const { return *m_list; }

private:
    friend class CheckedStore;

    const RelationList *m_list;
    std::vector<FieldId> m_groupTargets; // by group: the field all its rules fill, or -1
    std::vector<int> m_groupsFilling;    // by field: the groups whose rules all fill it
};

// Fills blank fields of store from the list. Never changes a non-blank field (except through a
// PassCopy), never fails as a whole and reports nothing but the trace and the record. Returns
// false, with the store untouched, when the store was not made for the list (its size differs);
// it runs from event handlers, so it does not throw for that. A list whose rules name an id
// outside its own fields is broken and throws std::out_of_range before anything is written.
bool solve(const RelationList &list, FieldStore &store, const SolveTrace &trace = {},
           SolveRecord *record = nullptr);
// The same solve on a list prepared beforehand, as for a batch of pages.
bool solve(const PreparedList &list, FieldStore &store, const SolveTrace &trace = {},
           SolveRecord *record = nullptr);

} // namespace zorvik
