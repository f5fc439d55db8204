// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/explain.h"
#include "solver/relationlist.h"
#include "tools/csvreader.h"

#include <optional>
#include <string>
#include <vector>

namespace zorvik {

// What a batch's header columns are: fields named by their names or captions, and kept
// columns (those --keep names, and those with no name at all, which must stay empty).
struct CsvHeader {
    std::vector<std::size_t> keptColumns; // in column order
    std::vector<std::size_t> fieldColumns;
    std::vector<FieldId> fields;          // of fieldColumns
    std::vector<std::string> fieldTitles; // of fieldColumns, as the header writes them
    std::vector<std::string> keptTitles;
    std::vector<std::size_t> unnamed; // of the kept columns, those without a name

    std::size_t width() const { return keptColumns.size() + fieldColumns.size(); }
};

// A title as people type it, reduced to what tells it apart: "  feed (mm/rev) :" and "Feed:"
// are both "feed".
std::string reducedTitle(std::string_view title);

// The field a header title names: its name or caption as the window has it, or the same
// ignoring case, surrounding spaces, a trailing colon and a unit in brackets, when only one
// field matches so. -1 when none does; then, or when several do, why is in error.
FieldId headerField(const RelationList &list, const Captions &captions, std::string_view title,
                    std::string &error);

// Reads the header record into header, or says why it names no page. keep: the columns kept
// besides the fields; separator: the file's, for the hint when a title holds another.
std::optional<std::string> readCsvHeader(const RelationList &list, const Captions &captions,
                                         const std::vector<std::string> &keep, char separator,
                                         const CsvRecord &record, CsvHeader &header);

} // namespace zorvik
