// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numbercells.h"

#include "solver/conversions.h"
#include "solver/nonnumber.h"
#include "solver/quotedtext.h"

#include <algorithm>
#include <ostream>

namespace zorvik {

namespace {

// Most cells are plain decimals, and so is nearly every result: telling those apart costs a glance
// at their bytes, far less than the conversion. Digits alone stay well inside the double range up
// to this length.
constexpr std::size_t plainDecimalMax = 300;

// Whether text is an optional minus, digits and at most one decimal separator, a point or a
// comma; at is then where that separator is, or npos.
bool isPlainDecimal(std::string_view text, std::size_t &at)
{
    at = std::string_view::npos;
    if (text.size() > plainDecimalMax)
        return false;
    // Kept in a local: at, a reference, could be any of the text's bytes, read again for each.
    std::size_t separator = std::string_view::npos;
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    for (std::size_t i = first; i < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c - '0') <= 9)
            continue;
        if ((c != '.' && c != ',') || separator != std::string_view::npos)
            return false;
        separator = i;
    }
    at = separator;
    // Every byte after the minus is a digit but the separator.
    return text.size() - first > (separator != std::string_view::npos ? 1 : 0);
}

bool readsAsNumber(std::string_view text)
{
    std::size_t at;
    if (isPlainDecimal(text, at))
        return at == std::string_view::npos || text[at] == '.';
    return strictToNumber(text).has_value();
}

std::size_t countOf(std::string_view text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

// The text with every from made to (or left out for '\0'), into scratch.
std::string_view replaced(std::string_view text, char from, char to, std::string &scratch)
{
    scratch.clear();
    for (char c : text) {
        if (c != from)
            scratch += c;
        else if (to != '\0')
            scratch += to;
    }
    return scratch;
}

// Whether text has one comma, no point, and reads as a number with the comma as the point.
bool readsWithDecimalComma(std::string_view text, std::string &scratch)
{
    return countOf(text, ',') == 1 && countOf(text, '.') == 0 &&
           readsAsNumber(replaced(text, ',', '.', scratch));
}

bool isUnitByte(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || byte >= 0x80 ||
           c == '/' || c == '%';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether every separator in text stands between a digit and a group of exactly three, as a
// thousands separator does (1,200.5; 12.500.000), and there is one.
bool groupsThousands(std::string_view text, char separator)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator, at + 1), ++count) {
        if (at == 0 || !isDigit(text[at - 1]))
            return false;
        for (std::size_t i = at + 1; i <= at + 3; ++i) {
            if (i >= text.size() || !isDigit(text[i]))
                return false;
        }
        if (at + 4 < text.size() && isDigit(text[at + 4]))
            return false;
    }
    return count > 0;
}

// With a decimal comma on, whether the text is digits grouped by points alone, which reads as
// a whole number with thousands separators as well as a decimal fraction: 1.200, 12.500.000.
bool isAmbiguousGrouping(std::string_view text)
{
    if (!text.empty() && text[0] == '-')
        text.remove_prefix(1);
    const std::size_t lead = text.find('.');
    return lead != std::string_view::npos && lead >= 1 && lead <= 3 && text[0] != '0' &&
           countOf(text, '.') == 1 &&
           std::all_of(text.begin(), text.end(), [](char c) { return isDigit(c) || c == '.'; }) &&
           groupsThousands(text, '.');
}

std::string likelyCause(std::string_view text, bool decimalComma)
{
    std::string scratch, other;
    auto reads = [&](std::string_view candidate) {
        return readsAsNumber(candidate) || readsWithDecimalComma(candidate, other);
    };
    if (decimalComma && isAmbiguousGrouping(text)) {
        const std::string whole(replaced(text, '.', '\0', scratch));
        return "either " + whole + " with a thousands separator or " + std::string(text) +
               " with a decimal point: write " + whole + " or " +
               std::string(replaced(text, '.', ',', scratch));
    }
    if (!decimalComma && readsWithDecimalComma(text, scratch))
        return "a decimal comma: give --decimal-comma";
    for (char separator : {',', '.', ' ', '\''}) {
        if (groupsThousands(text, separator) && reads(replaced(text, separator, '\0', scratch)))
            return "a thousands separator: write the number without it";
    }
    for (std::size_t at = 1; at < text.size(); ++at) {
        const bool exponent = (text[at] == 'e' || text[at] == 'E') && at + 1 < text.size() &&
                              (isDigit(text[at + 1]) || text[at + 1] == '-' || text[at + 1] == '+');
        if (isUnitByte(text[at]) && !exponent)
            return reads(text.substr(0, at)) ? "a unit: write the number alone" : "";
    }
    return "";
}

} // namespace

bool NumberCells::set(FieldStore &store, FieldId field, std::string_view text)
{
    const auto index = static_cast<std::size_t>(field);
    if (m_typed.size() != store.size()) {
        m_typed.assign(store.size(), std::string());
        m_retyped.assign(store.size(), false);
        m_forms.assign(store.size(), CellForm{});
    }
    m_retypedCount -= m_retyped[index];
    m_retyped[index] = false;
    const std::uint64_t bit = index < FieldStore::keptFields ? std::uint64_t(1) << index : 0;
    m_setNumbers &= ~bit;
    std::size_t at;
    const bool plain = isPlainDecimal(text, at);
    if (plain && (at == std::string_view::npos || text[at] == '.')) {
        if (at != std::string_view::npos && m_decimalComma && isAmbiguousGrouping(text)) {
            // Neither reading is taken: no rule reads a number from it, a lenient one none either.
            retype(store, field, text, "?" + std::string(text));
            return false;
        }
        store.setText(field, text);
        m_forms[index] = {m_decimalComma ? at : std::string::npos, true};
        m_setNumbers |= bit;
        return true;
    }
    if (plain) {
        if (!m_decimalComma) {
            store.setText(field, text);
            return false;
        }
        m_scratch.assign(text);
        m_scratch[at] = '.';
        store.setText(field, m_scratch);
        m_forms[index] = {at, true};
        m_setNumbers |= bit;
        return true;
    }
    store.setText(field, text);
    if (text.empty() || strictToNumber(text))
        return true;
    if (m_decimalComma && readsWithDecimalComma(text, m_scratch)) {
        store.setText(field, m_scratch);
        return true;
    }
    // 1.200,00 holds a thousands separator a lenient rule would stop at, reading 1.2: it reads
    // nothing, as with an ambiguous 1.200.
    if (m_decimalComma && groupsThousands(text, '.')) {
        retype(store, field, text, "?" + std::string(text));
        return false;
    }
    // Rules that read a field leniently take as much of a number as the text starts with: the
    // decimal comma of 100,5mm must reach them as the point it is.
    if (const std::size_t comma = text.find(',');
        m_decimalComma && comma != std::string_view::npos && comma == text.rfind(',') &&
        text.find('.') == std::string_view::npos) {
        m_scratch.assign(text);
        m_scratch[comma] = '.';
        retype(store, field, text, m_scratch);
    }
    return false;
}

void NumberCells::retype(FieldStore &store, FieldId field, std::string_view typed,
                         const std::string &read)
{
    const auto index = static_cast<std::size_t>(field);
    store.setText(field, read);
    m_typed[index].assign(typed);
    m_retyped[index] = true;
    ++m_retypedCount;
}

const std::string *NumberCells::typedText(const FieldStore &store, FieldId field) const
{
    const auto index = static_cast<std::size_t>(field);
    return m_retypedCount > 0 && index < m_retyped.size() && m_retyped[index] &&
                   !store.isBlank(field)
               ? &m_typed[index]
               : nullptr;
}

void NumberCells::beforeSolve(const FieldStore &store, bool textsAsSet)
{
    m_filledBefore = store.filled();
    if (!textsAsSet)
        m_setNumbers = 0;
}

namespace {

// A result: the solve writes number texts only, so the point is all to look for, and checking
// every byte would cost more than the rest of its writing.
CellForm resultForm(std::string_view text, bool decimalComma)
{
    return {decimalComma ? text.find('.') : std::string::npos, true};
}

CellForm textForm(std::string_view text, bool decimalComma)
{
    std::size_t point;
    if (text.empty())
        return {std::string::npos, true};
    if (isPlainDecimal(text, point)) {
        // A comma may be the separator.
        const bool plain = point == std::string::npos || text[point] == '.';
        return {decimalComma && plain ? point : std::string::npos, plain};
    }
    if (!decimalComma)
        return {};
    point = text.find('.');
    return {point != std::string::npos && strictToNumber(text) ? point : std::string::npos, false};
}

} // namespace

std::span<const CellForm> NumberCells::cellForms(const FieldStore &store)
{
    const std::vector<std::string> &texts = store.texts();
    m_forms.resize(texts.size());
    // Read once: a form written could be any member, as far as the compiler knows, and would
    // have them all read again for each field.
    const bool decimalComma = m_decimalComma;
    // A solve that writes numbers writes blank fields only; the others hold what set gave them.
    const std::uint64_t results = m_solveWritesNumbers ? ~m_filledBefore : 0;
    const std::uint64_t asSet = m_solveWritesNumbers ? m_setNumbers & ~results : 0;
    CellForm *const forms = m_forms.data();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const bool kept = i < FieldStore::keptFields;
        if (kept && (results >> i & 1))
            forms[i] = resultForm(texts[i], decimalComma);
        else if (!kept || !(asSet >> i & 1))
            forms[i] = textForm(texts[i], decimalComma);
    }
    return m_forms;
}

void setGivenTexts(const RelationList &list, const Captions &captions, FieldStore &store,
                   const std::vector<GivenText> &given, NumberCells &cells, Warnings &warnings,
                   std::string_view where)
{
    for (const GivenText &text : given) {
        if (!cells.set(store, text.field, text.text))
            warnings.add(notANumberWarning(
                std::string(where) + text.name, text.text, cells.decimalComma(),
                nonNumberText(list, captions, text.field, store.text(text.field))));
    }
}

std::string notANumberWarning(std::string_view where, std::string_view text, bool decimalComma,
                              std::string_view howRead)
{
    std::string warning = std::string(where) + ": " + quotedText(text) + " is not a number";
    if (const std::string cause = likelyCause(text, decimalComma); !cause.empty())
        (warning += " (") += cause + ")";
    if (!howRead.empty())
        (warning += "; ") += howRead;
    return warning;
}

void Warnings::add(std::string_view warning)
{
    if (++m_count <= shownAtMost)
        m_err << "zorvik-solve: warning: " << warning << '\n';
}

void Warnings::finish()
{
    if (m_count > shownAtMost) {
        std::size_t more = m_count - shownAtMost;
        m_err << "zorvik-solve: warning: " << more
              << (more == 1 ? " more warning\n" : " more warnings\n");
    }
}

} // namespace zorvik
