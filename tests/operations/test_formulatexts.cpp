// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/operation.h"
#include "solver/conversions.h"
#include "solver/explain.h"
#include "solver/numerics.h"
#include "tests/support/allrules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>

using namespace zorvik;

namespace {

// Reads a formula text as users see it (captions, numbers, + − × /, parentheses, unary minus,
// π and the functions the texts use) and evaluates it with the solver's checked arithmetic, in
// the order the text writes it. It knows nothing of the rule behind the text.
class FormulaReader {
public:
    FormulaReader(std::string text, const RelationList &list, const Captions &captions,
                  const FieldStore &store, const std::vector<Num> &aux)
        : m_text(std::move(text)), m_store(store), m_aux(aux)
    {
        for (std::size_t i = 0; i < captions.size(); ++i)
            m_names.push_back({captions[i], false, i});
        for (std::size_t i = 0; i < list.auxValues.size(); ++i)
            m_names.push_back({std::string(list.auxValues[i].caption), true, i});
        // The longest name first, so that a caption is never read as a shorter one and a rest.
        std::sort(m_names.begin(), m_names.end(),
                  [](const Name &a, const Name &b) { return a.text.size() > b.text.size(); });
    }

    // "Target = expression": the expression's value, after checking the target's caption.
    Num assignment(std::string_view target)
    {
        expect(std::string(target) + " = ");
        Num value = expression();
        // A branch: "E, or F when A > B" (or A ≥ B), where F may name E as "that".
        if (take(", or ")) {
            m_that = value;
            Num other = expression();
            expect(" when ");
            Num left = expression();
            const bool orEqual = take("≥");
            if (!orEqual)
                expect(">");
            Num right = expression();
            const bool holds =
                orEqual ? left.value() >= right.value() : left.value() > right.value();
            if (left.ok() && right.ok() && holds)
                value = other;
        }
        end();
        return value;
    }

    // A rule's test: "A ≠ B", or "A and B are numbers".
    bool holds()
    {
        Num left = expression();
        if (take("and")) {
            Num right = expression();
            expect("are numbers");
            end();
            return left.ok() && right.ok();
        }
        expect("≠");
        Num right = expression();
        end();
        return left.value() != right.value();
    }

private:
    struct Name {
        std::string text;
        bool aux;
        std::size_t index;
    };

    Num expression()
    {
        Num value = term();
        for (;;) {
            if (take("+"))
                value = value + term();
            else if (take("−"))
                value = value - term();
            else
                return value;
        }
    }

    Num term()
    {
        Num value = unary();
        for (;;) {
            if (take("×"))
                value = value * unary();
            else if (take("/"))
                value = value / unary();
            else
                return value;
        }
    }

    Num unary()
    {
        if (take("−"))
            return -unary();
        return primary();
    }

    Num primary()
    {
        skipSpaces();
        if (take("(")) {
            Num value = expression();
            expect(")");
            return value;
        }
        if (take("π"))
            return pi;
        if (take("that"))
            return m_that;
        if (take("sin("))
            return closed(sine(expression()));
        if (take("arctan("))
            return closed(arctangent(expression()));
        if (take("arcsine("))
            return closed(degreeArcsine(expression()));
        if (take("√("))
            return closed(squareRoot(expression()));
        if (take("round("))
            return closed(roundHalfEven(expression()));
        if (take("trunc("))
            return closed(truncateTowardZero(expression()));
        if (take("lenient(")) {
            const Name &field = name();
            if (field.aux)
                fail("lenient() of an auxiliary value");
            return closed(Num(lenientToNumber(textOf(field))));
        }
        if (m_at < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_at])))
            return number();
        const Name &found = name();
        if (found.aux)
            return m_aux[found.index];
        std::optional<double> value = strictToNumber(textOf(found));
        return value ? Num(*value) : Num::failure(NotANumber);
    }

    Num number()
    {
        std::size_t end = m_at;
        while (end < m_text.size() &&
               (std::isdigit(static_cast<unsigned char>(m_text[end])) || m_text[end] == '.'))
            ++end;
        std::optional<double> value = strictToNumber(m_text.substr(m_at, end - m_at));
        if (!value)
            fail("a malformed number");
        m_at = end;
        return *value;
    }

    const Name &name()
    {
        skipSpaces();
        for (const Name &name : m_names) {
            if (std::string_view(m_text).substr(m_at).starts_with(name.text)) {
                m_at += name.text.size();
                return name;
            }
        }
        fail("no caption, number or function");
    }

    const std::string &textOf(const Name &field) const
    {
        return m_store.text(static_cast<FieldId>(field.index));
    }

    Num closed(Num value)
    {
        expect(")");
        return value;
    }

    bool take(std::string_view token)
    {
        const std::size_t at = m_at;
        if (token.front() != ' ')
            skipSpaces();
        if (std::string_view(m_text).substr(m_at).starts_with(token)) {
            m_at += token.size();
            return true;
        }
        m_at = at;
        return false;
    }

    void expect(const std::string &token)
    {
        if (!take(token))
            fail("\"" + token + "\" expected");
    }

    void end()
    {
        skipSpaces();
        if (m_at != m_text.size())
            fail("text after the end");
    }

    void skipSpaces()
    {
        while (m_at < m_text.size() && m_text[m_at] == ' ')
            ++m_at;
    }

    [[noreturn]] void fail(const std::string &what) const
    {
        throw std::runtime_error(what + " at " + std::to_string(m_at) +
                                 " of: " + std::string(m_text));
    }

    std::string m_text;
    std::size_t m_at = 0;
    const FieldStore &m_store;
    const std::vector<Num> &m_aux;
    std::vector<Name> m_names;
    Num m_that = Num::failure(NotANumber);
};

// A random field text: mostly positive numbers over five decades, with zeros, negatives, small
// whole numbers and a text that is no number among them, as the rules meet them.
std::string randomText(std::mt19937_64 &random)
{
    std::uniform_real_distribution<double> decades(-1.5, 3.5);
    std::uniform_int_distribution<int> kind(0, 20);
    switch (kind(random)) {
    case 0:
        return "0";
    case 20:
        return "1..2";
    case 1:
        return numberToText(-std::pow(10.0, decades(random)));
    case 2:
    case 3:
        return std::to_string(std::uniform_int_distribution<int>(1, 12)(random));
    default:
        return numberToText(std::pow(10.0, decades(random)));
    }
}

struct Samples {
    FieldStore store;
    std::vector<Num> aux;
};

Samples randomSamples(const RelationList &list, std::mt19937_64 &random)
{
    Samples samples{FieldStore(list.fields.size()), {}};
    for (std::size_t i = 0; i < list.fields.size(); ++i)
        samples.store.setText(static_cast<FieldId>(i), randomText(random));
    for (const AuxValue &value : list.auxValues)
        samples.aux.push_back(value.define(Values(samples.store, samples.aux)));
    return samples;
}

std::string resultText(Num value)
{
    return value.ok() ? numberToText(value.value()) : "(fails)";
}

constexpr int samplesPerRule = 400;

} // namespace

namespace zorvik {
void PrintTo(const OperationDefinition &operation, std::ostream *os)
{
    *os << operation.name;
}
} // namespace zorvik

namespace {

class FormulaTexts : public testing::TestWithParam<OperationDefinition> {};

// Each formula text, read back on random inputs, computes exactly what its rule computes, and
// fails where the rule fails: an explanation cannot show one formula and run another.
TEST_P(FormulaTexts, ComputeWhatTheirRulesCompute)
{
    const OperationDefinition &operation = GetParam();
    const RelationList &list = operation.relations;
    const Captions captions = operation.captions();
    std::mt19937_64 random(20240611);
    for (const Rule *rule : test::allRules(list)) {
        const std::string text = formulaText(list, *rule, captions);
        int succeeded = 0;
        for (int sample = 0; sample < samplesPerRule; ++sample) {
            const Samples in = randomSamples(list, random);
            const Num computed = rule->formula(Values(in.store, in.aux));
            FormulaReader reader(text, list, captions, in.store, in.aux);
            const Num read = reader.assignment(captions[static_cast<std::size_t>(rule->target)]);
            ASSERT_EQ(resultText(read), resultText(computed)) << rule->id << ": " << text;
            succeeded += computed.ok();
            if (rule->test) {
                // The test in captions, as an explanation shows it: rendered as a formula.
                Rule asFormula = *rule;
                asFormula.text = rule->when;
                const std::string whenText =
                    formulaText(list, asFormula, captions)
                        .substr(captions[std::size_t(rule->target)].size() +
                                std::string_view(" = ").size());
                FormulaReader when(whenText, list, captions, in.store, in.aux);
                ASSERT_EQ(when.holds(), rule->test(Values(in.store, in.aux))) << rule->id;
            }
        }
        // Inputs that always fail would let any text pass.
        EXPECT_GE(succeeded, samplesPerRule / 10) << rule->id << ": " << text;
    }
}

TEST_P(FormulaTexts, AuxiliaryValuesComputeWhatTheyDefine)
{
    const OperationDefinition &operation = GetParam();
    const RelationList &list = operation.relations;
    const Captions captions = operation.captions();
    std::mt19937_64 random(7);
    for (const AuxValue &value : list.auxValues) {
        const std::string text = auxText(list, value, captions);
        for (int sample = 0; sample < samplesPerRule; ++sample) {
            Samples in = randomSamples(list, random);
            // Lenient reads meet what they are for: texts that are only partly numbers.
            for (std::size_t i = 0; i < list.fields.size(); i += 2)
                in.store.setText(static_cast<FieldId>(i), in.store.text(FieldId(i)) + "x.5");
            const Num defined = value.define(Values(in.store, in.aux));
            FormulaReader reader(text, list, captions, in.store, in.aux);
            ASSERT_EQ(resultText(reader.assignment(value.caption)), resultText(defined)) << text;
        }
    }
}

// A caption that two fields share, or that an auxiliary value shares with one, would make a
// formula text say one thing and mean another.
TEST_P(FormulaTexts, NameEveryQuantityOnce)
{
    const Captions captions = GetParam().captions();
    std::set<std::string> names(captions.begin(), captions.end());
    for (const AuxValue &value : GetParam().relations.auxValues)
        names.insert(std::string(value.caption));
    EXPECT_EQ(names.size(), captions.size() + GetParam().relations.auxValues.size());
}

INSTANTIATE_TEST_SUITE_P(Operations, FormulaTexts, testing::ValuesIn(operationDefinitions()),
                         [](const testing::TestParamInfo<OperationDefinition> &info) {
                             return std::string(info.param.name);
                         });

} // namespace
