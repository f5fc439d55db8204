#include "solver/conversions.h"
#include "solver/relationlist.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace zorvik {

void FieldStore::throwOutOfRange(FieldId field) const
{
    throw std::out_of_range("FieldStore: field id " + std::to_string(field) +
                            " outside a store of " + std::to_string(m_texts.size()) + " fields");
}

Num Values::operator[](FieldId field) const
{
    std::optional<double> number = strictToNumber(m_store.text(field));
    if (number)
        return Num(*number);
    FailureWatch::note(Failure::NotANumber, field);
    return Num::failure();
}

Num Values::lenient(FieldId field) const
{
    return Num(lenientToNumber(m_store.text(field)));
}

FieldId RelationList::fieldId(std::string_view name) const
{
    auto found = std::find(fields.begin(), fields.end(), name);
    return found == fields.end() ? -1 : static_cast<FieldId>(found - fields.begin());
}

// The store as the solve loop sees it: every id the list's rules and copies name is checked once
// when it is made, so the many reads of a solve need no check of their own.
class CheckedStore {
public:
    CheckedStore(const RelationList &list, FieldStore &store) : m_store(store)
    {
        auto checkRule = [&store](const Rule &rule) {
            store.check(rule.target);
            for (FieldId source : rule.guard)
                store.check(source);
        };
        for (const Rule &rule : list.prePass)
            checkRule(rule);
        for (const RuleGroup &group : list.groups) {
            for (const Rule &rule : group)
                checkRule(rule);
        }
        for (const PassCopy &copy : list.endOfPass) {
            store.check(copy.source);
            store.check(copy.target);
        }
    }

    const FieldStore &store() const { return m_store; }
    const std::vector<std::string> &texts() const { return m_store.m_texts; }
    const std::string &text(FieldId field) const { return m_store.m_texts[index(field)]; }
    bool isBlank(FieldId field) const { return text(field).empty(); }
    void setText(FieldId field, std::string text)
    {
        m_store.m_texts[index(field)] = std::move(text);
    }

private:
    static std::size_t index(FieldId field) { return static_cast<std::size_t>(field); }

    FieldStore &m_store;
};

namespace {

enum class Outcome { NotApplicable, Evaluated };

Outcome tryRule(const Rule &rule, CheckedStore &store, const std::vector<Num> &aux, int pass,
                const SolveTrace &trace, SolveRecord *record)
{
    if (!store.isBlank(rule.target))
        return Outcome::NotApplicable;
    for (FieldId source : rule.guard) {
        if (store.isBlank(source))
            return Outcome::NotApplicable;
    }
    Values values(store.store(), aux);
    if (rule.test && !rule.test(values))
        return Outcome::NotApplicable;
    Num result = rule.formula(values);
    if (result.ok()) {
        if (record)
            record->writes.push_back({pass, &rule, nullptr, store.texts()});
        store.setText(rule.target, numberToText(result.value()));
        if (trace)
            trace(pass, rule.id, rule.target, store.text(rule.target));
    }
    return Outcome::Evaluated;
}

} // namespace

bool solve(const RelationList &list, FieldStore &fields, const SolveTrace &trace,
           SolveRecord *record)
{
    if (fields.size() != list.fields.size())
        return false;
    CheckedStore store(list, fields);
    if (record)
        *record = {store.texts(), {}, {}, {}};

    std::vector<Num> aux;
    for (const Rule &rule : list.prePass)
        tryRule(rule, store, aux, 0, trace, record);

    aux.reserve(list.auxValues.size());
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(fields, aux)));
    if (record) {
        record->auxRead = store.texts();
        record->aux = aux;
    }

    for (int pass = 1; pass <= list.passes; ++pass) {
        for (const RuleGroup &group : list.groups) {
            for (const Rule &rule : group) {
                if (tryRule(rule, store, aux, pass, trace, record) == Outcome::Evaluated)
                    break;
            }
        }
        for (const PassCopy &copy : list.endOfPass) {
            if (store.isBlank(copy.source) || store.text(copy.target) == store.text(copy.source))
                continue;
            if (record)
                record->writes.push_back({pass, nullptr, &copy, store.texts()});
            store.setText(copy.target, store.text(copy.source));
            if (trace)
                trace(pass, copy.id, copy.target, store.text(copy.target));
        }
    }
    return true;
}

} // namespace zorvik
