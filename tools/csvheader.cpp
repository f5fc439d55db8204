// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvheader.h"

#include "solver/caption.h"
#include "solver/quotedtext.h"

#include <algorithm>

namespace zorvik {

// Matching wants less than a name in a sentence: any final bracket goes, words and all, and
// case does not count.
std::string reducedTitle(std::string_view title)
{
    std::string reduced = captionLabel(title);
    if (reduced.ends_with(')')) {
        if (const std::size_t open = reduced.rfind('('); open != std::string::npos && open > 0)
            reduced.erase(reduced.find_last_not_of(' ', open - 1) + 1);
    }
    for (char &c : reduced) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return reduced;
}

namespace {

// The edits (insert, delete, replace a byte) that make one text the other.
std::size_t editDistance(std::string_view a, std::string_view b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row[b.size()];
}

std::string_view separatorName(char separator)
{
    return separator == ';' ? "semicolons" : separator == '\t' ? "tabs" : "commas";
}

std::string unknownTitle(const RelationList &list, const Captions &captions, std::string_view title,
                         char separator)
{
    std::string hint;
    for (char other : {',', ';', '\t'}) {
        if (other != separator && title.find(other) != std::string::npos)
            hint = std::string(" (cells are separated by ") +
                   std::string(separatorName(separator)) + " here, not " +
                   std::string(separatorName(other)) + ")";
    }
    const std::string reduced = reducedTitle(title);
    std::size_t best = std::string::npos;
    std::string closest;
    std::string fields;
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        (fields += fields.empty() ? "" : ", ") +=
            std::string(list.fields[i]) + " (" + captions[i] + ")";
        for (const std::string &candidate : {std::string(list.fields[i]), captions[i]}) {
            const std::size_t distance = editDistance(reduced, reducedTitle(candidate));
            if (distance < best) {
                best = distance;
                closest = candidate;
            }
        }
    }
    std::string suggestion;
    if (best <= std::max<std::size_t>(2, reduced.size() / 3))
        suggestion = "; did you mean " + quotedText(closest) + "?";
    return "unknown field " + quotedText(title) + " in the header" + hint + suggestion +
           " (keep a column that is no field with --keep); fields are: " + fields;
}

} // namespace

FieldId headerField(const RelationList &list, const Captions &captions, std::string_view title,
                    std::string &error)
{
    error.clear();
    if (FieldId field = list.fieldId(title); field >= 0)
        return field;
    for (std::size_t i = 0; i < captions.size(); ++i) {
        if (captions[i] == title)
            return static_cast<FieldId>(i);
    }
    const std::string reduced = reducedTitle(title);
    if (reduced.empty())
        return -1;
    std::vector<std::size_t> matches;
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        if (reducedTitle(list.fields[i]) == reduced || reducedTitle(captions[i]) == reduced)
            matches.push_back(i);
    }
    if (matches.size() == 1)
        return static_cast<FieldId>(matches[0]);
    if (matches.size() > 1)
        error = "header " + quotedText(title) + " matches both " +
                quotedText(captions[matches[0]]) + " and " + quotedText(captions[matches[1]]) +
                "; write the one meant in full";
    return -1;
}

std::optional<std::string> readCsvHeader(const RelationList &list, const Captions &captions,
                                         const std::vector<std::string> &keep, char separator,
                                         const CsvRecord &record, CsvHeader &header)
{
    std::string error;
    for (const std::string &name : keep) {
        if (headerField(list, captions, name, error) >= 0)
            return "--keep " + quotedText(name) +
                   " names a field; only columns that are no fields are kept";
    }
    if (record.cellCount > record.cells.size())
        return "the header has " + std::to_string(record.cellCount) +
               " columns, more than the fields and kept columns together";
    std::vector<bool> named(list.fields.size(), false);
    std::vector<bool> kept(keep.size(), false);
    for (std::size_t column = 0; column < record.cellCount; ++column) {
        const std::string_view title = record.cells[column];
        auto keepAt = std::find(keep.begin(), keep.end(), title);
        if (keepAt != keep.end() || title.empty()) {
            if (title.empty()) {
                header.unnamed.push_back(header.keptColumns.size());
            } else {
                std::size_t index = static_cast<std::size_t>(keepAt - keep.begin());
                if (kept[index])
                    return "column " + quotedText(title) + " is named more than once in the header";
                kept[index] = true;
            }
            header.keptColumns.push_back(column);
            header.keptTitles.emplace_back(title);
            continue;
        }
        FieldId field = headerField(list, captions, title, error);
        if (!error.empty())
            return error;
        if (field < 0)
            return unknownTitle(list, captions, title, separator);
        if (named[static_cast<std::size_t>(field)])
            return "field " + quotedText(list.fields[static_cast<std::size_t>(field)]) +
                   " is named more than once in the header, here as " + quotedText(title);
        named[static_cast<std::size_t>(field)] = true;
        header.fieldColumns.push_back(column);
        header.fields.push_back(field);
        header.fieldTitles.emplace_back(title);
    }
    if (header.unnamed.size() == header.keptColumns.size() && header.fields.empty())
        return "the header line names no column";
    for (std::size_t i = 0; i < keep.size(); ++i) {
        if (!kept[i])
            return "column " + quotedText(keep[i]) + " given to --keep is not in the header";
    }
    return std::nullopt;
}

} // namespace zorvik
