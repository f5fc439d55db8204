// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/pageresults.h"

#include "solver/conversions.h"
#include "solver/fieldhelp.h"
#include "solver/solve.h"

#include <algorithm>
#include <stdexcept>

namespace zorvik {

namespace {

const char *const recalculateNote =
    "Recalculate (F5, or Recalculate in the field's context menu) computes it again from the "
    "page as it is now; Calculate keeps it, as it fills only blank fields.";

} // namespace

PageResults::PageResults(const RelationList &list, Captions captions, std::vector<std::string> help,
                         std::vector<std::string> units)
    : m_list(&list), m_captions(std::move(captions)), m_help(std::move(help)),
      m_units(std::move(units)), m_fields(m_captions.size()), m_solvedTexts(m_captions.size())
{}

void PageResults::solved(const ListSources &sources, const SolveRecord &record,
                         const std::vector<FieldExplanation> &explanations,
                         const std::vector<std::string> &texts)
{
    std::vector<const SolveWrite *> writes(m_fields.size(), nullptr);
    for (const SolveWrite &write : record.writes)
        writes.at(static_cast<std::size_t>(write.rule ? write.rule->target : write.copy->target)) =
            &write;
    std::vector<FieldId> written;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        Field &field = m_fields[i];
        field.text = texts[i];
        field.given.clear();
        const SolveWrite *write = writes[i];
        if (explanations[i].written && write) {
            field.written = texts[i];
            field.rule = std::string(write->rule ? write->rule->id : write->copy->id);
            field.explanation = explanations[i].text;
            field.origin.clear();
            field.sources.clear();
            for (FieldId source : sources.of(*write))
                field.sources.push_back({source, write->read.at(static_cast<std::size_t>(source))});
            field.staleSource.reset();
            written.push_back(static_cast<FieldId>(i));
        } else if (!field.result()) {
            field.explanation = explanations[i].text;
            if (field.origin.empty()) {
                field.written.clear();
                field.rule.clear();
                field.sources.clear();
                field.staleSource.reset();
            }
        }
    }
    // A solve reads what the page holds, so a result it wrote is out of date only through a
    // source that already was.
    for (FieldId id : written) {
        if (const std::optional<Cause> cause = staleCause(id))
            at(id).staleSource = cause->through;
    }
    m_solvedTexts = texts;
    m_edits.clear();
    m_explained = true;
}

void PageResults::edited(FieldId id, const std::string &text)
{
    Field &field = at(id);
    field.changed = true;
    field.text = text;
    field.origin.clear();
    if (!field.result())
        field.staleSource.reset();
    if (std::find(m_edits.begin(), m_edits.end(), id) == m_edits.end())
        m_edits.push_back(id);
    // Before the first solve only a text that is not a number needs a word of its own.
    const bool number = text.empty() || strictToNumber(text);
    if ((!m_explained && number) || field.result())
        field.given.clear();
    else
        field.given = text.empty() ? "Blank: Calculate tries the rules that fill it."
                                   : explainGiven(*m_list, m_captions, id, text, false);
}

void PageResults::entered(FieldId id, std::string origin, const std::vector<FieldId> &sources)
{
    Field &field = at(id);
    field.origin = std::move(origin);
    field.sources = sourcesNow(sources);
}

void PageResults::imported(FieldId id, std::string origin, const std::vector<FieldId> &sources)
{
    Field &field = at(id);
    field.written = field.text;
    field.rule.clear();
    field.origin = std::move(origin);
    field.sources = sourcesNow(sources);
    field.staleSource.reset();
}

void PageResults::clear(const std::vector<std::string> &texts)
{
    m_fields.assign(m_fields.size(), Field{});
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        m_fields[i].text = texts.at(i);
    m_solvedTexts = texts;
    m_edits.clear();
    m_explained = false;
}

std::vector<FieldId> PageResults::results() const
{
    std::vector<FieldId> ids;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (m_fields[i].result())
            ids.push_back(static_cast<FieldId>(i));
    }
    return ids;
}

std::vector<FieldId> PageResults::sourceFields(FieldId id) const
{
    std::vector<FieldId> fields;
    for (const Source &source : at(id).sources)
        fields.push_back(source.field);
    return fields;
}

std::vector<PageResults::Source> PageResults::sourcesNow(const std::vector<FieldId> &fields) const
{
    std::vector<Source> sources;
    for (FieldId field : fields)
        sources.push_back({field, at(field).text});
    return sources;
}

std::optional<PageResults::Cause> PageResults::staleCause(FieldId id) const
{
    std::vector<bool> seen(m_fields.size());
    return staleCause(id, seen);
}

// Results can read each other round a cycle of solves; each is followed once.
std::optional<PageResults::Cause> PageResults::staleCause(FieldId id, std::vector<bool> &seen) const
{
    const Field &field = at(id);
    if (!field.follows())
        return std::nullopt;
    seen[static_cast<std::size_t>(id)] = true;
    for (const Source &source : field.sources) {
        if (at(source.field).text != source.text)
            return Cause{source.field, std::nullopt};
    }
    for (const Source &source : field.sources) {
        if (seen[static_cast<std::size_t>(source.field)])
            continue;
        if (const std::optional<Cause> cause = staleCause(source.field, seen))
            return Cause{cause->changed, source.field};
    }
    return std::nullopt;
}

std::optional<FieldId> PageResults::changedSinceSolve() const
{
    for (FieldId id : m_edits) {
        if (at(id).text != m_solvedTexts.at(static_cast<std::size_t>(id)))
            return id;
    }
    return std::nullopt;
}

std::string PageResults::explanation(FieldId id) const
{
    const Field &field = at(id);
    std::string own = !field.origin.empty() ? field.origin
                      : field.given.empty() ? field.explanation
                                            : field.given;
    // The field keeps every digit the solve wrote; the reading is for the eye.
    const std::optional<double> value = strictToNumber(field.text);
    if (field.result() && value && static_cast<std::size_t>(id) < m_units.size())
        own += "\nRounded: " + readingText(*value, m_units[static_cast<std::size_t>(id)]);
    if (const std::optional<Cause> cause = staleCause(id)) {
        const std::string changed = caption(cause->changed);
        if (!field.result())
            return "Worked out before " + changed +
                   " changed; Recalculate works it out again from the page as it is now.\n" + own;
        if (cause->through && cause->through == field.staleSource)
            return "Computed from " + caption(*cause->through) +
                   ", which was out of date already (" + changed + " changed after " +
                   caption(*cause->through) + " was computed). " + recalculateNote + "\n" + own;
        const std::string through =
            cause->through ? " (through " + caption(*cause->through) + ")" : std::string();
        return "Computed before " + changed + " changed" + through + ". " + recalculateNote + "\n" +
               own;
    }
    if (field.text.empty() && field.given.empty() && m_explained) {
        if (const std::optional<FieldId> changed = changedSinceSolve())
            return "Explained before " + caption(*changed) +
                   " changed; Calculate tries its rules again.\n" + own;
    }
    if (own.empty() && static_cast<std::size_t>(id) < m_help.size())
        return m_help[static_cast<std::size_t>(id)];
    return own;
}

PageResults::Look PageResults::look(FieldId id) const
{
    const Field &field = at(id);
    if (!field.follows())
        return Look::Plain;
    if (outOfDate(id))
        return Look::OutOfDate;
    if (!field.result())
        return Look::Plain;
    return field.origin.empty() ? Look::Fresh : Look::Imported;
}

PageResults::Origin PageResults::origin(FieldId id) const
{
    const Field &field = at(id);
    if (field.result())
        return field.origin.empty() ? Origin::Result : Origin::Imported;
    return field.origin.empty() ? Origin::Given : Origin::Entered;
}

std::optional<FieldId> PageResults::changedSource(FieldId id) const
{
    const std::optional<Cause> cause = staleCause(id);
    return cause ? std::optional<FieldId>(cause->changed) : std::nullopt;
}

namespace {

// What a field and its record in a job hold alike, under the same names, one way or the other.
template <typename From, typename To> void copyTexts(const From &from, To &to)
{
    to.text = from.text;
    to.changed = from.changed;
    to.written = from.written;
    to.rule = from.rule;
    to.explanation = from.explanation;
    to.given = from.given;
}

} // namespace

void PageResults::save(job::PageRecord &page) const
{
    const auto name = [this](FieldId id) {
        return std::string(m_list->fields.at(static_cast<std::size_t>(id)));
    };
    page.fields.resize(m_fields.size());
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const Field &field = m_fields[i];
        job::FieldRecord &record = page.fields[i];
        record.name = name(static_cast<FieldId>(i));
        copyTexts(field, record);
        record.note = field.origin;
        record.sources.clear();
        for (const Source &source : field.sources)
            record.sources.push_back({name(source.field), source.text});
        record.staleSource = field.staleSource ? name(*field.staleSource) : std::string();
        record.solvedText.reset();
        if (m_solvedTexts[i] != field.text)
            record.solvedText = m_solvedTexts[i];
    }
    page.explained = m_explained;
    page.edits.clear();
    for (FieldId id : m_edits)
        page.edits.push_back(name(id));
}

void PageResults::restore(const job::PageRecord &page)
{
    const auto id = [this](const std::string &name) {
        const FieldId found = m_list->fieldId(name);
        if (found < 0)
            throw std::out_of_range("no field " + name);
        return found;
    };
    for (const job::FieldRecord &record : page.fields) {
        const auto i = static_cast<std::size_t>(id(record.name));
        Field &field = m_fields.at(i);
        copyTexts(record, field);
        field.origin = record.note;
        field.sources.clear();
        for (const job::SourceText &source : record.sources)
            field.sources.push_back({id(source.field), source.text});
        field.staleSource.reset();
        if (!record.staleSource.empty())
            field.staleSource = id(record.staleSource);
        m_solvedTexts.at(i) = record.solvedText.value_or(record.text);
    }
    m_explained = page.explained;
    m_edits.clear();
    for (const std::string &name : page.edits)
        m_edits.push_back(id(name));
}

std::vector<FieldId> givenSources(const RelationList &list, const ListSources &sources,
                                  FieldStore page, FieldId target, FieldId leftOut)
{
    if (!page.text(target).empty())
        return {target};
    page.setText(leftOut, "");
    const FieldStore given = page;
    SolveRecord record;
    solve(list, page, {}, &record);
    const FieldSources solved = sources.ofSolve(record);
    std::vector<FieldId> fields;
    for (std::size_t i = 0; i < given.size(); ++i) {
        const auto id = static_cast<FieldId>(i);
        if (!given.text(id).empty() && derivedFrom(solved, id).at(std::size_t(target)))
            fields.push_back(id);
    }
    return fields;
}

} // namespace zorvik
