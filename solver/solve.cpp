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

namespace {

Num strictNumber(const std::string &text)
{
    std::optional<double> number = strictToNumber(text);
    return number ? Num(*number) : Num::failure();
}

} // namespace

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
    CheckedStore(const RelationList &list, FieldStore &store)
        : m_store(store), m_numbers(store.size())
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
    Values values(const std::vector<Num> &aux) const { return Values(*this, m_store, aux); }
    const std::string &text(FieldId field) const { return m_store.m_texts[index(field)]; }
    bool isBlank(FieldId field) const { return text(field).empty(); }
    void setText(FieldId field, std::string text)
    {
        m_store.m_texts[index(field)] = std::move(text);
        m_numbers[index(field)].state = Reading::Unread;
    }

    // Formulas read the same few sources in rule after rule and pass after pass, so each text
    // goes through the strict conversion once until it is written. Ids here come from formulas,
    // which were not checked, so they are checked on every read.
    Num number(FieldId field) const
    {
        CachedNumber &cached = m_numbers[m_store.index(field)];
        if (cached.state == Reading::Unread) {
            std::optional<double> number = strictToNumber(text(field));
            cached = number ? CachedNumber{*number, Reading::Number}
                            : CachedNumber{0, Reading::NotNumber};
        }
        return cached.state == Reading::Number ? Num(cached.value) : Num::failure();
    }

private:
    static std::size_t index(FieldId field) { return static_cast<std::size_t>(field); }

    enum class Reading : unsigned char { Unread, Number, NotNumber };
    struct CachedNumber {
        double value = 0;
        Reading state = Reading::Unread;
    };

    FieldStore &m_store;
    mutable std::vector<CachedNumber> m_numbers;
};

Num Values::operator[](FieldId field) const
{
    return m_checked ? m_checked->number(field) : strictNumber(m_store.text(field));
}

namespace {

enum class Outcome { NotApplicable, Evaluated };

Outcome tryRule(const Rule &rule, CheckedStore &store, const std::vector<Num> &aux, int pass,
                const SolveTrace &trace)
{
    if (!store.isBlank(rule.target))
        return Outcome::NotApplicable;
    for (FieldId source : rule.guard) {
        if (store.isBlank(source))
            return Outcome::NotApplicable;
    }
    Values values = store.values(aux);
    if (rule.test && !rule.test(values))
        return Outcome::NotApplicable;
    Num result = rule.formula(values);
    if (result.ok()) {
        store.setText(rule.target, numberToText(result.value()));
        if (trace)
            trace(pass, rule.id, rule.target, store.text(rule.target));
    }
    return Outcome::Evaluated;
}

} // namespace

bool solve(const RelationList &list, FieldStore &fields, const SolveTrace &trace)
{
    if (fields.size() != list.fields.size())
        return false;
    CheckedStore store(list, fields);

    std::vector<Num> aux;
    for (const Rule &rule : list.prePass)
        tryRule(rule, store, aux, 0, trace);

    aux.reserve(list.auxValues.size());
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(fields, aux)));

    for (int pass = 1; pass <= list.passes; ++pass) {
        for (const RuleGroup &group : list.groups) {
            for (const Rule &rule : group) {
                if (tryRule(rule, store, aux, pass, trace) == Outcome::Evaluated)
                    break;
            }
        }
        for (const PassCopy &copy : list.endOfPass) {
            if (store.isBlank(copy.source) || store.text(copy.target) == store.text(copy.source))
                continue;
            store.setText(copy.target, store.text(copy.source));
            if (trace)
                trace(pass, copy.id, copy.target, store.text(copy.target));
        }
    }
    return true;
}

} // namespace zorvik
