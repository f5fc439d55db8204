// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/job.h"
#include "solver/explain.h"
#include "solver/provenance.h"

#include <optional>
#include <string>
#include <vector>

namespace zorvik {

// Where the texts of one page came from, as far as its solves know: which fields hold a text a
// solve wrote (and still hold it), what each of those was computed from, and which of them an
// edit since has left out of date. A solve never overwrites a field, so a result stays on the
// page beside the inputs it no longer matches until Recalculate blanks it; this is what tells
// the user so. Out of date follows the sources: a result is out of date while a field it was
// computed from, directly or through other results, holds another text than the one its rule
// read, so an edit taken back makes it fresh again.
class PageResults {
public:
    // Imported: a result of the other page, which no solve of this page has computed.
    enum class Look { Plain, Fresh, Imported, OutOfDate };
    // Where a field's text came from: the user (or the window's defaults), a solve of this
    // page, Import of the other page's result, or an entry the window made (a material's kc).
    enum class Origin { Given, Result, Imported, Entered };

    // Per field id, the names the window shows and what each field is (shown until the page
    // has anything else to say of it).
    // A result's explanation reads its value rounded, in its unit (by field id).
    PageResults(const RelationList &list, Captions captions, std::vector<std::string> help = {},
                std::vector<std::string> units = {});

    // After a solve of the page: what it recorded, its explanations and the page's texts, by
    // field id. A result of an earlier solve that the field still holds keeps its explanation
    // and its sources: this solve read it as given, but did not find it.
    void solved(const ListSources &sources, const SolveRecord &record,
                const std::vector<FieldExplanation> &explanations,
                const std::vector<std::string> &texts);
    // A field changed by anything but a solve: typing, a paste, Import, a leave step.
    void edited(FieldId field, const std::string &text);
    // Right after an edit the window made for the user (kc from a material): where its text came
    // from, which the field says until its text next changes, and the fields that text was
    // worked out from, with the texts they held, which it follows as a result follows its
    // sources.
    void entered(FieldId field, std::string origin, const std::vector<FieldId> &sources = {});
    // Right after Import wrote a text that was a result on the other page: a result here too,
    // computed from the same fields of this page, which Recalculate blanks. It looks imported
    // until a solve of this page writes it.
    void imported(FieldId field, std::string origin, const std::vector<FieldId> &sources);
    // Reset, or the page just built: it holds nothing a solve wrote, and these texts by field id.
    void clear(const std::vector<std::string> &texts);

    // Whether the page has been solved since it opened or was reset.
    bool explained() const { return m_explained; }
    // Whether the user changed the field since the window opened or the page was reset.
    bool changed(FieldId field) const { return at(field).changed; }
    // Whether the field holds a result: a text a solve wrote, or one imported as a result.
    bool isResult(FieldId field) const { return at(field).result(); }
    // The fields that hold a result: what Recalculate blanks.
    std::vector<FieldId> results() const;
    // Whether the field holds a text that follows its sources (a result, or one entered for the
    // user) and one of them has changed since.
    bool outOfDate(FieldId field) const { return staleCause(field).has_value(); }
    // The rule that wrote the result the field holds, "" for none.
    const std::string &rule(FieldId field) const { return at(field).rule; }
    // The fields the text of the field was computed or worked out from.
    std::vector<FieldId> sourceFields(FieldId field) const;
    // How the field got its text, "" before the page's first solve.
    std::string explanation(FieldId field) const;
    Look look(FieldId field) const;
    Origin origin(FieldId field) const;
    // For a field out of date, the field whose change made it so.
    std::optional<FieldId> changedSource(FieldId field) const;

    // Into a job file's record of the page: each field's state beside its text, by the names of
    // the relation list, in its order.
    void save(job::PageRecord &page) const;
    // The page as a record, read back for the same operation, holds it.
    void restore(const job::PageRecord &page);

private:
    struct Source {
        FieldId field;
        std::string text; // as the rule read it
    };
    struct Field {
        std::string text;        // as the page holds it now
        bool changed = false;    // by the user since the window opened or the page was reset
        std::string written;     // the result a solve wrote or Import brought, "" for none
        std::string rule;        // that wrote it
        std::string explanation; // of the solve that explained it last
        std::string given;       // of the text when the user gave it since that solve
        std::string origin;      // of a text entered or imported for the user, "" when none
        std::vector<Source> sources;
        // The source that was already out of date when the result was computed from it.
        std::optional<FieldId> staleSource;

        bool result() const { return !written.empty() && text == written; }
        bool follows() const { return result() || !origin.empty(); }
    };
    // Why a field is out of date: the field that changed, and the result it came through, if
    // any.
    struct Cause {
        FieldId changed;
        std::optional<FieldId> through;
    };

    const Field &at(FieldId field) const { return m_fields.at(static_cast<std::size_t>(field)); }
    Field &at(FieldId field) { return m_fields.at(static_cast<std::size_t>(field)); }
    // The field's caption as a sentence names it.
    std::string caption(FieldId field) const
    {
        return m_captions.name(field);
    }
    std::vector<Source> sourcesNow(const std::vector<FieldId> &fields) const;
    std::optional<Cause> staleCause(FieldId field) const;
    std::optional<Cause> staleCause(FieldId field, std::vector<bool> &seen) const;
    // The first field edited since the last solve that no longer holds what the solve read.
    std::optional<FieldId> changedSinceSolve() const;

    const RelationList *m_list;
    Captions m_captions;
    std::vector<std::string> m_help;
    std::vector<std::string> m_units;
    std::vector<Field> m_fields;
    std::vector<std::string> m_solvedTexts; // as the last solve left the page
    std::vector<FieldId> m_edits;           // since the last solve, first first
    bool m_explained = false;
};

// The fields holding text that a solve of page with leftOut blank would compute target from,
// directly or through other results; target itself when it holds text.
std::vector<FieldId> givenSources(const RelationList &list, const ListSources &sources,
                                  FieldStore page, FieldId target, FieldId leftOut);

} // namespace zorvik
