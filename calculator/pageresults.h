// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"

#include <string>
#include <vector>

namespace zorvik::calculator {

// Where the texts of one page came from, as far as its solves know: which fields hold a text a
// solve wrote (and still hold it), how each field got its text, and which results an edit since
// has left out of date. A solve never overwrites a field, so a result stays on the page beside
// the inputs it no longer matches until Recalculate blanks it; this is what tells the user so.
class PageResults {
public:
    enum class Look { Plain, Fresh, OutOfDate };

    explicit PageResults(std::size_t fieldCount) : m_fields(fieldCount) {}

    // After a solve of the page: its explanations and the page's texts, by field id. A result of
    // an earlier solve that the field still holds keeps its explanation and whether it is out of
    // date: this solve read it as given, but did not find it.
    void solved(const std::vector<FieldExplanation> &explanations,
                const std::vector<std::string> &texts);
    // A field changed by anything but a solve: typing, a paste, Import, a leave step. caption
    // names the field in the words of the window.
    void edited(FieldId field, const std::string &text, const std::string &caption);
    // Right after an edit the window made for the user (kc from a material): where its text came
    // from, which the field says until its text next changes.
    void entered(FieldId field, std::string origin)
    {
        m_fields.at(static_cast<std::size_t>(field)).origin = std::move(origin);
    }
    // Reset: the page holds nothing a solve wrote, and every field is as the window opened it.
    void clear();

    // Whether the page has been solved since it opened or was reset.
    bool explained() const { return m_explained; }
    // Whether the user changed the field since the window opened or the page was reset.
    bool changed(FieldId field) const { return at(field).changed; }
    // The fields that hold a text a solve wrote: what Recalculate blanks.
    std::vector<FieldId> results() const;
    // How the field got its text, "" before the page's first solve.
    std::string explanation(FieldId field) const;
    Look look(FieldId field) const;

private:
    struct Field {
        bool blank = true;       // at the last solve or edit
        bool written = false;    // by a solve, and unchanged since
        std::string text;        // what the solve wrote, while written
        bool changed = false;    // by the user since the window opened or the page was reset
        std::string explanation; // of the solve that explained it last
        std::string staleSince;  // the caption of the first field edited since, "" when none
        std::string origin;      // of a text entered for the user, "" when none
    };

    const Field &at(FieldId field) const { return m_fields.at(static_cast<std::size_t>(field)); }

    std::vector<Field> m_fields;
    bool m_explained = false;
};

} // namespace zorvik::calculator
