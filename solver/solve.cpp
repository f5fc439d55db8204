#include "solver/conversions.h"
#include "solver/relationlist.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace zorvik {

Num Values::operator[](FieldId field) const
{
    std::optional<double> number = strictToNumber(m_store.text(field));
    return number ? Num(*number) : Num::failure();
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

namespace {

// The solve tests blankness of targets and guards thousands of times; a bit per field keeps
// those tests off the texts. Only writes change it, and the solve makes every write itself.
using FieldMask = std::uint64_t;

FieldMask bit(FieldId field)
{
    return FieldMask{1} << field;
}

struct Applicability {
    const Rule *rule;
    FieldMask target;
    FieldMask guard;
};

Applicability prepare(const Rule &rule)
{
    FieldMask guard = 0;
    for (FieldId source : rule.guard)
        guard |= bit(source);
    return {&rule, bit(rule.target), guard};
}

class Solve {
public:
    Solve(FieldStore &store, const SolveTrace &trace) : m_store(store), m_trace(trace)
    {
        for (std::size_t i = 0; i < store.size(); ++i) {
            if (store.isBlank(static_cast<FieldId>(i)))
                m_blank |= bit(static_cast<FieldId>(i));
        }
    }

    std::vector<Num> aux;

    // Returns whether the rule was applicable, which ends its group whatever the outcome.
    bool tryRule(const Applicability &a, int pass)
    {
        if (!(m_blank & a.target) || (m_blank & a.guard))
            return false;
        const Rule &rule = *a.rule;
        Values values(m_store, aux);
        if (rule.test && !rule.test(values))
            return false;
        Num result = rule.formula(values);
        if (result.ok())
            write(pass, rule.id, rule.target, numberToText(result.value()));
        return true;
    }

    void copy(const PassCopy &copy, int pass)
    {
        if ((m_blank & bit(copy.source)) || m_store.text(copy.target) == m_store.text(copy.source))
            return;
        write(pass, copy.id, copy.target, m_store.text(copy.source));
    }

private:
    void write(int pass, std::string_view rule, FieldId field, std::string text)
    {
        m_store.setText(field, std::move(text));
        m_blank &= ~bit(field);
        if (m_trace)
            m_trace(pass, rule, field, m_store.text(field));
    }

    FieldStore &m_store;
    const SolveTrace &m_trace;
    FieldMask m_blank = 0;
};

} // namespace

void solve(const RelationList &list, FieldStore &store, const SolveTrace &trace)
{
    if (store.size() != list.fields.size() || list.fields.size() > 64)
        throw std::invalid_argument("solve: the store does not match the relation list");

    Solve run(store, trace);
    for (const Rule &rule : list.prePass)
        run.tryRule(prepare(rule), 0);

    run.aux.reserve(list.auxValues.size());
    for (const AuxValue &value : list.auxValues)
        run.aux.push_back(value.define(Values(store, run.aux)));

    std::vector<Applicability> rules;
    std::vector<std::size_t> groupEnds;
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            rules.push_back(prepare(rule));
        groupEnds.push_back(rules.size());
    }

    for (int pass = 1; pass <= list.passes; ++pass) {
        std::size_t next = 0;
        for (std::size_t end : groupEnds) {
            for (; next < end; ++next) {
                if (run.tryRule(rules[next], pass))
                    break;
            }
            next = end;
        }
        for (const PassCopy &copy : list.endOfPass)
            run.copy(copy, pass);
    }
}

} // namespace zorvik
