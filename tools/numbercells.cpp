// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/numbercells.h"

#include "solver/conversions.h"
#include "solver/nonnumber.h"

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
    std::size_t digits = 0;
    for (std::size_t i = !text.empty() && text[0] == '-' ? 1 : 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9')
            ++digits;
        else if ((c == '.' || c == ',') && at == std::string_view::npos)
            at = i;
        else
            return false;
    }
    return digits > 0;
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

std::string_view likelyCause(std::string_view text, bool decimalComma)
{
    std::string scratch, other;
    auto reads = [&](std::string_view candidate) {
        return readsAsNumber(candidate) || readsWithDecimalComma(candidate, other);
    };
    if (!decimalComma && readsWithDecimalComma(text, scratch))
        return "a decimal comma: give --decimal-comma";
    for (char separator : {',', '.', ' ', '\''}) {
        if (countOf(text, separator) > 0 && reads(replaced(text, separator, '\0', scratch)))
            return "a thousands separator: write the number without it";
    }
    for (std::size_t at = 1; at < text.size(); ++at) {
        if (isUnitByte(text[at]))
            return reads(text.substr(0, at)) ? "a unit: write the number alone" : "";
    }
    return "";
}

// The text as one line of a message: control bytes escaped, a long text cut short on a UTF-8
// boundary.
std::string shown(std::string_view text)
{
    constexpr std::size_t most = 60;
    std::string line;
    std::size_t end = text.size();
    if (end > most) {
        end = most;
        while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
            --end;
    }
    for (char c : text.substr(0, end)) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n')
            line += "\\n";
        else if (c == '\r')
            line += "\\r";
        else if (c == '\t')
            line += "\\t";
        else if (byte < 0x20 || byte == 0x7F)
            line += "\\x" + std::string(1, "0123456789abcdef"[byte >> 4]) +
                    "0123456789abcdef"[byte & 15];
        else
            line += c;
    }
    if (end < text.size())
        line += "...";
    return line;
}

} // namespace

bool NumberCells::set(FieldStore &store, FieldId field, std::string_view text)
{
    std::size_t at;
    const bool plain = isPlainDecimal(text, at);
    if (plain && (at == std::string_view::npos || text[at] == '.')) {
        store.setText(field, text);
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
        return true;
    }
    store.setText(field, text);
    if (text.empty() || strictToNumber(text))
        return true;
    if (m_decimalComma && readsWithDecimalComma(text, m_scratch)) {
        store.setText(field, m_scratch);
        return true;
    }
    return false;
}

void NumberCells::beforeSolve(const FieldStore &store)
{
    if (!m_decimalComma || !m_solveWritesNumbers)
        return;
    m_blank.resize(store.size());
    for (std::size_t i = 0; i < store.size(); ++i)
        m_blank[i] = store.isBlank(static_cast<FieldId>(i));
}

std::span<const std::size_t> NumberCells::decimalCommas(const FieldStore &store)
{
    if (!m_decimalComma)
        return {};
    const bool known = m_solveWritesNumbers && m_blank.size() == store.size();
    m_commas.assign(store.size(), std::string::npos);
    for (std::size_t i = 0; i < store.size(); ++i) {
        const std::string &text = store.text(static_cast<FieldId>(i));
        if (text.empty())
            continue;
        std::size_t point;
        if (known && m_blank[i]) {
            // A result: the solve writes plain decimals only, so the point is all to look for,
            // and checking every byte would cost more than the rest of its writing.
            point = text.find('.');
        } else if (isPlainDecimal(text, point)) {
            if (point != std::string::npos && text[point] != '.')
                point = std::string::npos;
        } else {
            point = text.find('.');
            if (point != std::string::npos && !strictToNumber(text))
                point = std::string::npos;
        }
        m_commas[i] = point;
    }
    return m_commas;
}

void setGivenTexts(FieldStore &store, const std::vector<GivenText> &given, NumberCells &cells,
                   Warnings &warnings, const OperationDefinition &operation)
{
    for (const GivenText &text : given) {
        if (!cells.set(store, text.field, text.text))
            warnings.add(notANumberWarning(
                "argument " + text.name, text.text, cells.decimalComma(),
                nonNumberText(operation.relations, operation.captions(), text.field, text.text)));
    }
}

std::string notANumberWarning(std::string_view where, std::string_view text, bool decimalComma,
                              std::string_view howRulesTakeIt)
{
    std::string warning = std::string(where) + ": '" + shown(text) + "' is not a number";
    if (std::string_view cause = likelyCause(text, decimalComma); !cause.empty())
        (warning += " (") += std::string(cause) + ")";
    if (!howRulesTakeIt.empty())
        (warning += "; ") += howRulesTakeIt;
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
              << (more == 1 ? " more text is not a number\n" : " more texts are not numbers\n");
    }
}

} // namespace zorvik
