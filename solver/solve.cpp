// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/solve.h"

#include "solver/conversions.h"
#include "solver/fieldstore.h"
#include "solver/preparedlist.h"
#include "solver/relationlist.h"
#include "solver/values.h"

#include <array>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace zorvik {

void Values::throwAuxOutOfRange(int index) const
{
    throw std::out_of_range("Values: auxiliary value " + std::to_string(index) + " read when " +
                            std::to_string(m_aux.size()) + " are computed");
}

namespace {

Num strictNumber(const std::string &text)
{
    std::optional<double> number = strictToNumber(text);
    return number ? Num(*number) : Num::failure(NotANumber);
}

} // namespace

// A text that reads as a number strictly reads as the same number leniently, so where readings
// are kept the strict one saves converting the text again: a check evaluates many rules that
// read the same text leniently, and a solve reads one many times over its passes.
Num Values::lenient(FieldId field) const
{
    if (m_readings || m_unchecked) {
        const Num strict = (*this)[field];
        if (strict.ok())
            return strict;
    }
    return Num(lenientToNumber(m_store.text(field)));
}

// The store as the solve loop sees it: the list's ids were checked when it was prepared, so the
// many reads of a solve need no check of their own.
class UncheckedStore {
public:
    UncheckedStore(const PreparedList &list, FieldStore &store)
        : m_store(store), m_texts(store.m_texts.data()), m_size(store.size()),
          m_groupTargets(list.m_groupTargets.data()), m_groupsFilling(list.m_groupsFilling.data()),
          m_numbers(store.m_numbers.data()), m_kept(store.m_kept), m_filled(store.m_filled)
    {
        for (FieldId shared : list.m_groupTargets) {
            if (shared < 0 || isBlank(shared))
                ++m_openGroups;
        }
    }
    UncheckedStore(const UncheckedStore &) = delete;
    UncheckedStore &operator=(const UncheckedStore &) = delete;
    // Also when a formula throws: the store's readings then still match its texts.
    ~UncheckedStore()
    {
        m_store.m_kept = m_kept;
        m_store.m_filled = m_filled;
    }

    const FieldStore &store() const { return m_store; }
    const std::vector<std::string> &texts() const { return m_store.texts(); }
    Values values(const std::vector<Num> &aux) const { return Values(*this, m_store, aux); }
    const std::string &text(FieldId field) const { return m_texts[index(field)]; }
    bool isBlank(FieldId field) const { return text(field).empty(); }
    // Assigned, not moved in: a store used for page after page, as in a batch, keeps the room
    // its texts had, so writing a result allocates nothing.
    void setText(FieldId field, std::string_view text)
    {
        const std::size_t at = index(field);
        std::string &current = m_texts[at];
        if (current.empty() != text.empty()) {
            int filling = m_groupsFilling[at];
            m_openGroups += text.empty() ? filling : -filling;
            if (at < FieldStore::keptFields)
                m_filled ^= KeptReadings::bit(at);
        }
        current.assign(text);
        if (at < FieldStore::keptFields)
            m_kept.forget(at);
        ++m_writes;
    }

    // Whether all rules of the list's group (by index) fill one field that holds a text now:
    // then each of them would stop at its target, and the group can be passed over. Most groups
    // are of this kind, and after the first passes most of their targets are filled.
    bool groupDone(std::size_t group) const
    {
        FieldId target = m_groupTargets[group];
        return target >= 0 && !isBlank(target);
    }
    // Texts written so far.
    std::size_t writes() const { return m_writes; }
    // Whether every group is done, as in most passes of a solve that fills the whole page.
    bool allGroupsDone() const { return m_openGroups == 0; }

    // Formulas read the same few sources in rule after rule and pass after pass, so each text
    // goes through the strict conversion once until it is written; the store keeps the reading.
    // Ids here come from formulas, which were not checked, so they are checked on every read.
    Num number(FieldId field) const
    {
        const std::size_t at = index(field);
        if (at >= m_size)
            m_store.check(field);
        if (at >= FieldStore::keptFields)
            return strictNumber(text(field));
        if (!m_kept.has(at))
            readNumber(at);
        return m_kept.number(m_numbers, at);
    }

private:
    static std::size_t index(FieldId field)
    {
        return static_cast<std::make_unsigned_t<FieldId>>(field);
    }

    [[gnu::noinline]] void readNumber(std::size_t at) const
    {
        m_kept.keep(m_numbers, at, strictNumber(m_texts[at]));
    }

    FieldStore &m_store;
    std::string *m_texts; // the store's, which a solve never resizes
    std::size_t m_size;
    const FieldId *m_groupTargets; // the prepared list's, by group
    const int *m_groupsFilling;    // the prepared list's, by field
    int m_openGroups = 0;          // groups not done
    std::size_t m_writes = 0;
    // The store's kept readings and which fields are filled, given back when the solve ends.
    double *m_numbers;
    mutable KeptReadings m_kept;
    std::uint64_t m_filled;
};

Num Values::read(FieldId field) const
{
    return m_unchecked ? m_unchecked->number(field) : strictNumber(m_store.text(field));
}

Num PageReadings::read(FieldId field) const
{
    return strictNumber(m_store.text(field));
}

namespace {

enum class Outcome { NotApplicable, Evaluated };

std::vector<std::string> textsFor(const SolveRecord &record, const UncheckedStore &store)
{
    return record.keepTexts ? store.texts() : std::vector<std::string>();
}

// A formula's ids are seen only when it runs, so a read outside the page or the auxiliary values
// computed by then throws from inside it; the message then names what of the list it was, for
// whoever mends the list.
template <typename Evaluate>
auto naming(std::string_view kind, std::string_view name, Evaluate evaluate) -> decltype(evaluate())
{
    try {
        return evaluate();
    } catch (const std::out_of_range &error) {
        throw std::out_of_range(std::string(kind) + ' ' + std::string(name) + ": " + error.what());
    }
}

// A solve that records is a separate instance of the loop, so that one that does not runs without
// a check for it.
template <bool recording>
Outcome tryRule(const Rule &rule, UncheckedStore &store, const std::vector<Num> &aux, int pass,
                const SolveTrace &trace, SolveRecord *record)
{
    if (!store.isBlank(rule.target))
        return Outcome::NotApplicable;
    // When the first source is blank the rule stops there, as it does on most pages; after it
    // every source is looked at, since a branch per source mispredicts far more often, as the
    // blank one moves from rule to rule, than the extra reads cost.
    auto source = rule.guard.begin();
    if (source != rule.guard.end() && store.isBlank(*source))
        return Outcome::NotApplicable;
    bool sourceBlank = false;
    for (; source != rule.guard.end(); ++source)
        sourceBlank |= store.isBlank(*source);
    if (sourceBlank)
        return Outcome::NotApplicable;
    const Values values = store.values(aux);
    const std::string_view kind = pass == 0 ? "pre-pass rule" : "rule";
    if (rule.test && !naming(kind, rule.id, [&] { return rule.test(values); }))
        return Outcome::NotApplicable;
    const Num result = naming(kind, rule.id, [&] { return rule.formula(values); });
    if (result.ok()) {
        if constexpr (recording)
            record->writes.push_back({pass, &rule, nullptr, textsFor(*record, store)});
        char buffer[numberTextMax];
        char *end = writeNumberText(result.value(), buffer);
        store.setText(rule.target,
                      std::string_view(buffer, static_cast<std::size_t>(end - buffer)));
        if (trace)
            trace(pass, rule.id, rule.target, store.text(rule.target));
    }
    return Outcome::Evaluated;
}

template <bool recording>
void runSolve(const PreparedList &prepared, UncheckedStore &store, const SolveTrace &trace,
              SolveRecord *record)
{
    const RelationList &list = prepared.list();
    if constexpr (recording) {
        const bool keepTexts = record->keepTexts;
        record->writes.clear();
        record->keepTexts = keepTexts;
        record->given = textsFor(*record, store);
        record->auxRead.clear();
        record->aux.clear();
    }
    std::vector<Num> aux;
    // Runs the pre-pass rules that apply; whether one wrote.
    auto prePass = [&](int pass) {
        const std::size_t before = store.writes();
        for (const Rule &rule : list.prePass)
            tryRule<recording>(rule, store, aux, pass, trace, record);
        return store.writes() != before;
    };
    auto computeAux = [&] {
        aux.clear();
        aux.reserve(list.auxValues.size());
        for (const AuxValue &value : list.auxValues)
            aux.push_back(naming("auxiliary value", value.name,
                                 [&] { return value.define(Values(store.store(), aux)); }));
        if constexpr (recording) {
            record->auxRead = textsFor(*record, store);
            record->aux = aux;
        }
    };
    prePass(0);
    computeAux();
    // A pre-pass rule whose guard a pass may still fill (drilling's inlet, once the hole
    // diameter is found) runs as soon as it can, and the auxiliary values are worked out again
    // from what it wrote: until then, the rules that read them wait, so that none is computed
    // from a value about to change (a machining time without the drill point).
    bool pending = !list.prePass.empty() && prepared.prePassWaits(store.store());
    bool waiting = pending;
    auto mustWait = [&](const Rule &rule) {
        return store.isBlank(rule.target) &&
               std::none_of(rule.guard.begin(), rule.guard.end(),
                            [&](FieldId field) { return store.isBlank(field); }) &&
               prepared.readsPrePassTarget(rule);
    };

    const std::size_t groupCount = list.groups.size();
    for (int pass = 1; pass <= list.passes; ++pass) {
        if (pending && pass > 1) {
            if (prePass(pass))
                computeAux();
            pending = prepared.prePassWaits(store.store());
            waiting = waiting && pending;
        }
        // The last pass runs everything.
        waiting = waiting && pass < list.passes;
        const std::size_t writesBefore = store.writes();
        for (std::size_t group = 0; group < groupCount && !store.allGroupsDone(); ++group) {
            if (store.groupDone(group))
                continue;
            for (const Rule &rule : list.groups[group]) {
                if (waiting && mustWait(rule))
                    break;
                if (tryRule<recording>(rule, store, aux, pass, trace, record) == Outcome::Evaluated)
                    break;
            }
        }
        for (const PassCopy &copy : list.endOfPass) {
            if (store.isBlank(copy.source) || store.text(copy.target) == store.text(copy.source))
                continue;
            if constexpr (recording)
                record->writes.push_back({pass, nullptr, &copy, textsFor(*record, store)});
            store.setText(copy.target, store.text(copy.source));
            if (trace)
                trace(pass, copy.id, copy.target, store.text(copy.target));
        }
        // A pass that wrote nothing leaves the page as it found it; rules and copies read
        // nothing else, so every later pass would repeat it exactly. A page whose rules keep
        // failing ends here after one pass instead of trying them all again until the last.
        // Rules that waited for a pre-pass rule that can no longer apply run in the next.
        if (store.writes() == writesBefore) {
            if (!waiting)
                break;
            waiting = false;
        }
    }
}

} // namespace

bool solve(const PreparedList &prepared, FieldStore &fields, const SolveTrace &trace,
           SolveRecord *record)
{
    const RelationList &list = prepared.list();
    if (fields.size() != list.fields.size())
        return false;
    UncheckedStore store(prepared, fields);
    if (record)
        runSolve<true>(prepared, store, trace, record);
    else
        runSolve<false>(prepared, store, trace, nullptr);
    return true;
}

bool solve(const RelationList &list, FieldStore &fields, const SolveTrace &trace,
           SolveRecord *record)
{
    // A store made for another list is refused before the list is looked at.
    if (fields.size() != list.fields.size())
        return false;
    return solve(PreparedList(list), fields, trace, record);
}

} // namespace zorvik
