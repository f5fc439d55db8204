// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

// One record of the input: its cells exactly as written (quotes undone, nothing trimmed) and the
// line it starts on, counting from 1. Valid while the handler that is given it runs.
struct CsvRecord {
    long line = 0;
    std::size_t cellCount = 0; // every cell of the record
    // maxCells views, of which the first min(cellCount, maxCells) are the record's cells.
    std::span<const std::string_view> cells;
};

struct CsvFault {
    long line;
    std::string what;
};

// A streaming RFC 4180 reader, strict about quotes: bytes go in in pieces of any size, each
// complete record comes out through the handler as soon as its line end is read. LF, CRLF or
// CR line ends (each counts as a line, in quoted cells too), a byte-order mark at the very start
// is dropped, every cell must be UTF-8 and at most 1 MiB long. An empty line is a record of one
// empty cell. Memory stays bounded by the longest record, not by the input.
class CsvReader {
public:
    // Returns false to stop reading; no record is passed on after that.
    using RecordHandler = std::function<bool(const CsvRecord &)>;

    // As a separator: the first comma, semicolon or tab of the first line outside quotes, a
    // comma when it has none.
    static constexpr char detectSeparator = '\0';

    // Cells past maxCells are counted but not kept, so that a runaway row cannot grow memory.
    // Cells are separated by separator: a comma, a semicolon, a tab or detectSeparator.
    CsvReader(std::size_t maxCells, RecordHandler handler, char separator = ',');
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    // Both return false once the reader has stopped, by a fault or by the handler.
    bool feed(std::string_view bytes);
    bool finish();

    const std::optional<CsvFault> &fault() const { return m_fault; }
    // Whether it stopped where even the fault could not be kept (memory ran out).
    bool unsolved() const { return m_unsolved; }
    // The separator in use; while it is still to be detected, detectSeparator.
    char separator() const { return m_separator; }

private:
    // Where the reading is: between records, at the start of a cell, inside an unquoted or a
    // quoted cell, or just after a quote inside a quoted cell (its end, or the first of two).
    enum class State { recordStart, cellStart, unquoted, quoted, afterQuote };

    void useSeparator(char separator);
    bool feedAfterMark(std::string_view bytes);
    bool parse(std::string_view bytes);
    void parseRecords(std::string_view bytes);
    std::size_t parseUnquoted(std::string_view bytes, std::size_t at);
    void endCell(std::string_view cell, bool quoted, bool nonAscii);
    void endRecord(char lineEnd);
    void keepOpenRecord(std::string_view piece);
    void stopUnsolved(const char *what) noexcept;
    void stop(std::string what);

    std::size_t m_maxCells;
    RecordHandler m_handler;
    // The cells of the record being read: views of the piece being read where they lie in it
    // whole, else of m_cellTexts, which keeps them past the piece.
    std::vector<std::string_view> m_cells;
    std::vector<std::string> m_cellTexts;
    std::size_t m_cellCount = 0;
    State m_state = State::recordStart;
    // The cell being put together where a piece's end or a doubled quote cuts it.
    std::string m_partial;
    bool m_partialNonAscii = false; // whether it holds a byte beyond ASCII
    long m_line = 1;                // the line the next byte is on
    long m_recordLine = 1;          // the line the record being read started on
    bool m_afterCarriageReturn = false;
    bool m_atStart = true;
    bool m_stopped = false;
    bool m_unsolved = false;
    std::string m_bomPrefix;
    char m_separator;
    // By byte, whether it ends an unquoted cell (the separator, a line end, a quote) or is beyond
    // ASCII, which a cell is checked for: one look at each byte finds all of them.
    std::array<bool, 256> m_stops;
    std::string m_firstLine; // bytes held back while the separator is detected
    bool m_inQuotes = false; // at the end of m_firstLine
    std::optional<CsvFault> m_fault;
};

// What the writing of a cell needs to know besides its bytes.
struct CellForm {
    std::size_t commaAt = std::string::npos; // a byte written as a comma (a decimal point)
    // Whether the cell is known to hold no separator, quote or line break (a number text), so
    // that its bytes need no look for them.
    bool plain = false;
};

// Appends the cells of lead, then those of cells, as one row of RFC 4180 and a line end,
// separated by separator: a cell goes in quotes, with its quotes doubled, only when it holds the
// separator, a quote or a line break, or a comma written for a point where commas separate.
// forms, when not empty, has a form for each of cells.
void appendCsvRow(std::string &out, std::span<const std::string> lead,
                  std::span<const std::string> cells, char separator,
                  std::span<const CellForm> forms = {});
// The same for cells in the order given.
void appendCsvRow(std::string &out, std::span<const std::string *const> cells, char separator,
                  std::span<const CellForm> forms = {});

} // namespace zorvik
