// SPDX-License-Identifier: GPL-3.0-or-later
#include "calculator/pageresults.h"

namespace zorvik::calculator {

void PageResults::solved(const std::vector<FieldExplanation> &explanations,
                         const std::vector<std::string> &texts)
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        Field &field = m_fields[i];
        if (!explanations[i].written && field.written && field.text == texts[i])
            continue;
        field.blank = texts[i].empty();
        field.written = explanations[i].written;
        field.text = field.written ? texts[i] : std::string();
        field.explanation = explanations[i].text;
        field.staleSince.clear();
    }
    m_explained = true;
}

void PageResults::edited(FieldId id, const std::string &text, const std::string &caption)
{
    Field &field = m_fields.at(static_cast<std::size_t>(id));
    field.changed = true;
    field.origin.clear();
    if (field.written && field.text == text)
        return;
    field.blank = text.empty();
    field.written = false;
    field.text.clear();
    if (!m_explained)
        return;
    field.staleSince.clear();
    field.explanation = text.empty() ? "Blank: Calculate tries the rules that fill it."
                                     : explainGiven(text, caption, false);
    // What was found, or found impossible, from the page as it was no longer holds for certain;
    // typed texts explain only themselves.
    for (Field &other : m_fields) {
        if ((other.written || other.blank) && other.staleSince.empty() && &other != &field)
            other.staleSince = caption;
    }
}

void PageResults::clear()
{
    m_fields.assign(m_fields.size(), Field{});
    m_explained = false;
}

std::vector<FieldId> PageResults::results() const
{
    std::vector<FieldId> ids;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].written)
            ids.push_back(static_cast<FieldId>(i));
    }
    return ids;
}

std::string PageResults::explanation(FieldId id) const
{
    const Field &field = at(id);
    if (!field.origin.empty())
        return field.origin;
    if (field.staleSince.empty())
        return field.explanation;
    if (field.written)
        return "Computed before " + field.staleSince +
               " changed. Recalculate (F5, or Recalculate in the field's context menu) computes "
               "it again from the page as it is now; Calculate keeps it, as it fills only blank "
               "fields.\n" +
               field.explanation;
    return "Explained before " + field.staleSince + " changed; Calculate tries its rules again.\n" +
           field.explanation;
}

PageResults::Look PageResults::look(FieldId id) const
{
    const Field &field = at(id);
    if (!field.written)
        return Look::Plain;
    return field.staleSince.empty() ? Look::Fresh : Look::OutOfDate;
}

} // namespace zorvik::calculator
