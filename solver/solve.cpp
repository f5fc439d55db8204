#include "solver/conversions.h"
#include "solver/relationlist.h"

#include <algorithm>
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

enum class Outcome { NotApplicable, Evaluated };

Outcome tryRule(const Rule &rule, FieldStore &store, const std::vector<Num> &aux, int pass,
                const SolveTrace &trace)
{
    if (!store.isBlank(rule.target))
        return Outcome::NotApplicable;
    for (FieldId source : rule.guard) {
        if (store.isBlank(source))
            return Outcome::NotApplicable;
    }
    Values values(store, aux);
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

void solve(const RelationList &list, FieldStore &store, const SolveTrace &trace)
{
    if (store.size() != list.fields.size())
        throw std::invalid_argument("solve: the store does not match the relation list");

    std::vector<Num> aux;
    for (const Rule &rule : list.prePass)
        tryRule(rule, store, aux, 0, trace);

    aux.reserve(list.auxValues.size());
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(store, aux)));

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
}

} // namespace zorvik
