// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// Index of a field in its relation list's field table.
using FieldId = int;

class UncheckedStore;

// The texts of one page's fields. A field is blank only when its text is exactly empty.
// Every access checks its id: one outside the store throws std::out_of_range, so a name that did
// not resolve (-1) or a store made for another list stops loudly instead of writing anywhere.
class FieldStore {
public:
    explicit FieldStore(std::size_t fieldCount) : m_texts(fieldCount) {}

    std::size_t size() const { return m_texts.size(); }
    const std::vector<std::string> &texts() const { return m_texts; }
    const std::string &text(FieldId field) const { return m_texts[index(field)]; }
    // Assigned into the field's text, which keeps its room: a store reused page after page, as a
    // batch does, then rarely allocates.
    void setText(FieldId field, std::string_view text) { m_texts[index(field)].assign(text); }
    bool isBlank(FieldId field) const { return m_texts[index(field)].empty(); }
    // Throws std::out_of_range, as the accessors do, unless the store has field.
    void check(FieldId field) const { index(field); }

private:
    // The solve loop's access, on ids it has checked once per solve.
    friend class UncheckedStore;

    std::size_t index(FieldId field) const
    {
        if (field < 0 || static_cast<std::size_t>(field) >= m_texts.size())
            throwOutOfRange(field);
        return static_cast<std::size_t>(field);
    }
    [[noreturn]] void throwOutOfRange(FieldId field) const;

    std::vector<std::string> m_texts;
};

} // namespace zorvik
