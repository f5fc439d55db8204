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
    return number ? Num(*number) : Num::failure(NotANumber);
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

// A solve that records is a separate instance of the loop, so that one that does not runs the
// loop it always had.
template <bool recording> class Solver {
public:
    Solver(const RelationList &list, CheckedStore &store, const SolveTrace &trace,
           SolveRecord *record)
        : m_list(list), m_store(store), m_trace(trace), m_record(record)
    {}

    void run()
    {
        if constexpr (recording)
            *m_record = {m_store.texts(), {}, {}, {}};
        for (const Rule &rule : m_list.prePass)
            tryRule(rule, 0);

        m_aux.reserve(m_list.auxValues.size());
        for (const AuxValue &value : m_list.auxValues)
            m_aux.push_back(value.define(Values(m_store.store(), m_aux)));
        if constexpr (recording) {
            m_record->auxRead = m_store.texts();
            m_record->aux = m_aux;
        }

        for (int pass = 1; pass <= m_list.passes; ++pass) {
            for (const RuleGroup &group : m_list.groups) {
                for (const Rule &rule : group) {
                    if (tryRule(rule, pass) == Outcome::Evaluated)
                        break;
                }
            }
            for (const PassCopy &copy : m_list.endOfPass)
                passCopy(copy, pass);
        }
    }

private:
    Outcome tryRule(const Rule &rule, int pass)
    {
        if (!m_store.isBlank(rule.target))
            return Outcome::NotApplicable;
        for (FieldId source : rule.guard) {
            if (m_store.isBlank(source))
                return Outcome::NotApplicable;
        }
        Values values(m_store.store(), m_aux);
        if (rule.test && !rule.test(values))
            return Outcome::NotApplicable;
        Num result = rule.formula(values);
        if (result.ok()) {
            if constexpr (recording)
                m_record->writes.push_back({pass, &rule, nullptr, m_store.texts()});
            m_store.setText(rule.target, numberToText(result.value()));
            if (m_trace)
                m_trace(pass, rule.id, rule.target, m_store.text(rule.target));
        }
        return Outcome::Evaluated;
    }

    void passCopy(const PassCopy &copy, int pass)
    {
        if (m_store.isBlank(copy.source) || m_store.text(copy.target) == m_store.text(copy.source))
            return;
        if constexpr (recording)
            m_record->writes.push_back({pass, nullptr, &copy, m_store.texts()});
        m_store.setText(copy.target, m_store.text(copy.source));
        if (m_trace)
            m_trace(pass, copy.id, copy.target, m_store.text(copy.target));
    }

    const RelationList &m_list;
    CheckedStore &m_store;
    const SolveTrace &m_trace;
    SolveRecord *m_record;
    std::vector<Num> m_aux;
};

} // namespace

bool solve(const RelationList &list, FieldStore &fields, const SolveTrace &trace,
           SolveRecord *record)
{
    if (fields.size() != list.fields.size())
        return false;
    CheckedStore store(list, fields);
    if (record)
        Solver<true>(list, store, trace, record).run();
    else
        Solver<false>(list, store, trace, nullptr).run();
    return true;
}

} // namespace zorvik
