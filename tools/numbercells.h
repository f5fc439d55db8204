// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "operations/operation.h"
#include "solver/fieldstore.h"

#include <cstddef>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// Number texts as a spreadsheet writes them: with a decimal comma when it is set to a locale
// that has one, read into and written from the solve's texts, which always hold a point.
class NumberCells {
public:
    // solveWritesNumbers: whether every text the solve writes is a number it wrote itself, as
    // with a list that has no pass copies (which copy a text as it is).
    explicit NumberCells(bool decimalComma, bool solveWritesNumbers = false)
        : m_decimalComma(decimalComma), m_solveWritesNumbers(solveWritesNumbers)
    {}

    bool decimalComma() const { return m_decimalComma; }

    // Sets field to text, its decimal comma read as the point when that is on. Returns false
    // when the text is not blank and not a number, so that the solve would take it as blank.
    bool set(FieldStore &store, FieldId field, std::string_view text);
    // Called just before the solve, so that decimalCommas knows which texts the solve wrote.
    void beforeSolve(const FieldStore &store);
    // With a decimal comma on, by field, where the decimal point of its number is, to be written
    // as a comma; npos for a field that holds no number or one without a point. Empty with a
    // decimal comma off. Valid until the next call.
    std::span<const std::size_t> decimalCommas(const FieldStore &store);

private:
    bool m_decimalComma;
    bool m_solveWritesNumbers;
    std::vector<char> m_blank; // by field, as beforeSolve found it
    std::vector<std::size_t> m_commas;
    std::string m_scratch;
};

// A text given on the command line as NAME=TEXT.
struct GivenText {
    FieldId field;
    std::string name;
    std::string text;
};

class Warnings;

// Sets every given text, with a warning for each that is not a number, saying how the rules of
// operation take it.
void setGivenTexts(FieldStore &store, const std::vector<GivenText> &given, NumberCells &cells,
                   Warnings &warnings, const OperationDefinition &operation);

// The warning for a text that is not a number, found at where (a line and column, an
// argument): names the text and, where there is one, its likely cause; then, when given, how
// the rules take it (as nonNumberText words it).
std::string notANumberWarning(std::string_view where, std::string_view text, bool decimalComma,
                              std::string_view howRulesTakeIt = {});

// Warnings on err, one line each, up to a number after which they are only counted.
class Warnings {
public:
    static constexpr std::size_t shownAtMost = 20;

    explicit Warnings(std::ostream &err) : m_err(err) {}

    void add(std::string_view warning);
    // Counts one that is not shown.
    void addUnshown() { ++m_count; }
    // Says how many were not shown, if any.
    void finish();
    std::size_t count() const { return m_count; }

private:
    std::ostream &m_err;
    std::size_t m_count = 0;
};

} // namespace zorvik
