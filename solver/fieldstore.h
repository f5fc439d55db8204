// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/checkednumber.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// Index of a field in its relation list's field table.
using FieldId = int;

class UncheckedStore;
class PageReadings;

// Strict readings of texts by index (below 64), their values in an array beside them: which
// indices keep one, and which of those are numbers.
struct KeptReadings {
    std::uint64_t read = 0;
    std::uint64_t valid = 0;

    static std::uint64_t bit(std::size_t at) { return std::uint64_t(1) << at; }
    bool has(std::size_t at) const { return read & bit(at); }
    Num number(const double *numbers, std::size_t at) const
    {
        return valid & bit(at) ? Num(numbers[at]) : Num::failure(NotANumber);
    }
    void keep(double *numbers, std::size_t at, Num number)
    {
        numbers[at] = number.value();
        read |= bit(at);
        valid = number.ok() ? valid | bit(at) : valid & ~bit(at);
    }
    void forget(std::size_t at) { read &= ~bit(at); }
};

// The texts of one page's fields. A field is blank only when its text is exactly empty.
// Every access checks its id: one outside the store throws std::out_of_range, so a name that did
// not resolve (-1) or a store made for another list stops loudly instead of writing anywhere.
//
// A solve keeps the strict reading of each text it read until the text changes, so that what
// reads the page right after it (the consistency check, on every Calculate and batch row) does
// not convert the same texts again. Only the first keptFields fields keep theirs.
class FieldStore {
public:
    static constexpr std::size_t keptFields = 64;

    explicit FieldStore(std::size_t fieldCount)
        : m_texts(fieldCount), m_numbers(std::min(fieldCount, keptFields))
    {}

    std::size_t size() const { return m_texts.size(); }
    const std::vector<std::string> &texts() const { return m_texts; }
    const std::string &text(FieldId field) const { return m_texts[index(field)]; }
    // Assigned into the field's text, which keeps its room: a store reused page after page, as a
    // batch does, then rarely allocates.
    void setText(FieldId field, std::string_view text)
    {
        const std::size_t at = index(field);
        // A store reused row after row blanks most of its results before each: clearing costs a
        // fraction of assigning.
        if (text.empty())
            m_texts[at].clear();
        else
            m_texts[at].assign(text);
        changed(at);
    }
    bool isBlank(FieldId field) const { return m_texts[index(field)].empty(); }
    // Throws std::out_of_range, as the accessors do, unless the store has field.
    void check(FieldId field) const { index(field); }

    // Which of the first keptFields fields hold a text, as bits by id.
    std::uint64_t filled() const { return m_filled; }

private:
    // The solve loop's access, on ids it has checked once per solve, and the check's, which reads
    // the readings the solve kept.
    friend class UncheckedStore;
    friend class PageReadings;

    std::size_t index(FieldId field) const
    {
        if (field < 0 || static_cast<std::size_t>(field) >= m_texts.size())
            throwOutOfRange(field);
        return static_cast<std::size_t>(field);
    }
    [[noreturn]] void throwOutOfRange(FieldId field) const;
    // After the text at index at changed: its reading is gone.
    void changed(std::size_t at)
    {
        if (at >= keptFields)
            return;
        m_kept.forget(at);
        const std::uint64_t bit = KeptReadings::bit(at);
        m_filled = m_texts[at].empty() ? m_filled & ~bit : m_filled | bit;
    }
    std::vector<std::string> m_texts;
    std::vector<double> m_numbers; // the kept readings' values, by index
    KeptReadings m_kept;
    std::uint64_t m_filled = 0;
};

} // namespace zorvik
