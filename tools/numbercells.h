// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"
#include "solver/fieldstore.h"
#include "solver/relationlist.h"
#include "tools/csvreader.h"

#include <cstddef>
#include <cstdint>
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
    // The text as typed where set gave the solve another one to read (a decimal comma as the
    // point for a lenient reading, a number that is ambiguous as none), else null; for writing.
    const std::string *typedText(const FieldStore &store, FieldId field) const;
    bool anyRetyped() const { return m_retypedCount > 0; }
    // Called just before the solve, so that cellForms knows which texts the solve wrote.
    // textsAsSet: whether the texts set gave are still there as it gave them, so that their forms
    // are known without another look: false when something else may have changed them since,
    // such as an operation's preparing of the typed page.
    void beforeSolve(const FieldStore &store, bool textsAsSet);
    // By field, how its text is written: with a decimal comma on, the decimal point of a number
    // as a comma; and whether it is a number text, which needs no quotes. Valid until the next
    // call.
    std::span<const CellForm> cellForms(const FieldStore &store);

private:
    void retype(FieldStore &store, FieldId field, std::string_view typed, const std::string &read);

    bool m_decimalComma;
    bool m_solveWritesNumbers;
    std::uint64_t m_filledBefore = 0; // the store's filled fields, as beforeSolve found them
    std::uint64_t m_setNumbers = 0;   // fields set gave a number text, whose form it kept
    std::vector<CellForm> m_forms;
    // Texts set reads otherwise than as typed, by field: the typed text, written back as it is.
    std::vector<std::string> m_typed;
    std::vector<char> m_retyped;
    std::size_t m_retypedCount = 0;
    std::string m_scratch;
};

// A text given on the command line as NAME=TEXT.
struct GivenText {
    FieldId field;
    std::string name;
    std::string text;
};

class Warnings;

// Sets every given text, with a warning for each that is not a number, found at where followed by
// the field's name.
void setGivenTexts(const RelationList &list, const Captions &captions, FieldStore &store,
                   const std::vector<GivenText> &given, NumberCells &cells, Warnings &warnings,
                   std::string_view where = "argument ");

// The warning for a text that is not a number, found at where (a line and column, an
// argument): names the text and, where there is one, its likely cause, then howRead: how the
// rules take it, in the words the window's explanation uses.
std::string notANumberWarning(std::string_view where, std::string_view text, bool decimalComma,
                              std::string_view howRead = {});

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
