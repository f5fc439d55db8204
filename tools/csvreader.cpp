// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvreader.h"

#include "solver/quotedtext.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <utility>

namespace zorvik {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A cell longer than this is no field text but a runaway quote; it stops the run before the
// reader's buffer grows with the rest of the input.
constexpr std::size_t maxCellBytes = std::size_t(1) << 20;
constexpr const char *cellTooLong = "a cell longer than 1 MiB (an unclosed quote?)";
constexpr const char *quoteOutOfPlace = "a quote out of place";

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Where the first byte that is not UTF-8 is, npos when there is none.
std::size_t firstNonUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = utf8CharacterLength(text.substr(at));
        if (length == 0)
            return at;
        at += length;
    }
    return std::string_view::npos;
}

// The line ends inside a quoted cell: LF, CRLF and a CR alone, as between records.
long lineEnds(std::string_view cell)
{
    long count = 0;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '\n' || (cell[i] == '\r' && (i + 1 == cell.size() || cell[i + 1] != '\n')))
            ++count;
    }
    return count;
}

bool isLineEnd(char c)
{
    return c == '\n' || c == '\r';
}

} // namespace

CsvReader::CsvReader(std::size_t maxCells, RecordHandler handler, char separator)
    : m_maxCells(maxCells), m_handler(std::move(handler)), m_cells(maxCells), m_cellTexts(maxCells)
{
    useSeparator(separator);
}

void CsvReader::useSeparator(char separator)
{
    m_separator = separator;
    m_stops.fill(false);
    for (const char stop : {separator, '\n', '\r', '"'})
        m_stops[static_cast<unsigned char>(stop)] = true;
    for (std::size_t byte = 0x80; byte < m_stops.size(); ++byte)
        m_stops[byte] = true;
}

bool CsvReader::feed(std::string_view bytes)
{
    if (m_stopped)
        return false;
    if (m_atStart) {
        // The mark may arrive split over several pieces.
        std::size_t taken = std::min(bytes.size(), byteOrderMark.size() - m_bomPrefix.size());
        m_bomPrefix.append(bytes.substr(0, taken));
        bytes.remove_prefix(taken);
        if (m_bomPrefix.size() < byteOrderMark.size())
            return true;
        m_atStart = false;
        if (m_bomPrefix != byteOrderMark && !feedAfterMark(m_bomPrefix))
            return false;
    }
    return feedAfterMark(bytes);
}

bool CsvReader::feedAfterMark(std::string_view bytes)
{
    if (m_separator == detectSeparator) {
        // A header holds names, where a separator is only ever inside quotes, so the first
        // separator byte of its line outside them is the file's. The line is held back until it
        // is complete, or too long to be a header.
        std::size_t scanned = m_firstLine.size();
        m_firstLine.append(bytes);
        char found = '\0';
        for (std::size_t i = scanned; i < m_firstLine.size() && !found; ++i) {
            const char c = m_firstLine[i];
            if (c == '"')
                m_inQuotes = !m_inQuotes;
            else if (!m_inQuotes && (c == ',' || c == ';' || c == '\t' || isLineEnd(c)))
                found = c;
        }
        if (!found && m_firstLine.size() <= maxCellBytes)
            return true;
        useSeparator(found == ';' || found == '\t' ? found : ',');
        std::string held = std::move(m_firstLine);
        m_firstLine = {};
        return parse(held);
    }
    return parse(bytes);
}

// What throws here is an allocation, for a cell or in the handler; the row then cannot be solved.
bool CsvReader::parse(std::string_view bytes)
{
    if (m_stopped)
        return false;
    try {
        parseRecords(bytes);
        if (!m_stopped && m_state != State::recordStart)
            keepOpenRecord(bytes);
    } catch (const std::exception &fault) {
        stopUnsolved(fault.what());
    }
    // A cell still open at the end of the piece is refused as soon as it is too long, so that
    // a runaway quote does not hold the rest of the input; a finished one is checked as it ends.
    if (!m_stopped && m_partial.size() > maxCellBytes)
        stop(cellTooLong);
    return !m_stopped;
}

// Cells that lie whole in the piece are views of it, which is all nearly every cell of a batch
// costs; only a cell that a doubled quote or the piece's end cuts is put together in m_partial.
void CsvReader::parseRecords(std::string_view bytes)
{
    std::size_t at = 0;
    // The bytes of the current cell from where this piece starts it.
    auto completeCell = [this](std::string_view tail) {
        return m_partial.empty() ? tail : std::string_view(m_partial.append(tail));
    };
    auto endCellAt = [this](char c) {
        if (m_stopped)
            return;
        if (c == m_separator)
            m_state = State::cellStart;
        else
            endRecord(c);
    };
    while (at < bytes.size() && !m_stopped) {
        const char c = bytes[at];
        switch (m_state) {
        case State::recordStart:
            // The LF of a CRLF: the CR has ended the record and counted the line.
            if (std::exchange(m_afterCarriageReturn, false) && c == '\n') {
                ++at;
                break;
            }
            m_recordLine = m_line;
            if (isLineEnd(c)) {
                // A line with nothing on it.
                endCell({}, false, false);
                endRecord(c);
                ++at;
                break;
            }
            m_state = State::cellStart;
            break;
        case State::cellStart:
            m_state = c == '"' ? State::quoted : State::unquoted;
            at += c == '"';
            break;
        case State::unquoted:
            at = parseUnquoted(bytes, at);
            break;
        case State::quoted: {
            const std::size_t quote = std::min(bytes.find('"', at), bytes.size());
            const std::string_view tail = bytes.substr(at, quote - at);
            if (quote + 1 >= bytes.size()) {
                // What follows the quote, if there is one, is in the next piece.
                m_partial.append(tail);
                m_state = quote < bytes.size() ? State::afterQuote : State::quoted;
                at = bytes.size();
            } else if (const char next = bytes[quote + 1]; next == '"') {
                (m_partial.append(tail)) += '"';
                at = quote + 2;
            } else if (next == m_separator || isLineEnd(next)) {
                endCell(completeCell(tail), true, false);
                endCellAt(next);
                at = quote + 2;
            } else {
                stop(quoteOutOfPlace);
            }
            break;
        }
        case State::afterQuote:
            if (c == '"') {
                m_partial += '"';
                m_state = State::quoted;
            } else if (c == m_separator || isLineEnd(c)) {
                endCell(completeCell({}), true, false);
                endCellAt(c);
            } else {
                stop(quoteOutOfPlace);
            }
            ++at;
            break;
        }
    }
}

// Nearly every cell of a batch: the bytes up to the next separator or line end, then the cells
// after it while they start without a quote. Returns where the reading goes on.
std::size_t CsvReader::parseUnquoted(std::string_view bytes, std::size_t at)
{
    const char *const end = bytes.data() + bytes.size();
    const char *start = bytes.data() + at;
    const bool *const stops = m_stops.data();
    for (;;) {
        const char *cellEnd = start;
        bool nonAscii = false;
        for (;; ++cellEnd) {
            while (cellEnd != end && !stops[static_cast<unsigned char>(*cellEnd)])
                ++cellEnd;
            if (cellEnd == end || static_cast<unsigned char>(*cellEnd) < 0x80)
                break;
            nonAscii = true;
        }
        const std::string_view cell(start, static_cast<std::size_t>(cellEnd - start));
        if (cellEnd == end) {
            m_partial.append(cell);
            m_partialNonAscii |= nonAscii;
            return bytes.size();
        }
        const char c = *cellEnd;
        if (c == '"') {
            stop(quoteOutOfPlace);
            return bytes.size();
        }
        // An ASCII cell that lies whole in the piece needs none of endCell's checks.
        if (!nonAscii && m_partial.empty() && cell.size() <= maxCellBytes) {
            if (m_cellCount < m_maxCells)
                m_cells[m_cellCount] = cell;
            ++m_cellCount;
        } else {
            endCell(m_partial.empty() ? cell : std::string_view(m_partial.append(cell)), false,
                    nonAscii || m_partialNonAscii);
        }
        start = cellEnd + 1;
        if (m_stopped)
            break;
        if (c != m_separator) {
            endRecord(c);
            break;
        }
        if (start == end || *start == '"') {
            m_state = State::cellStart;
            break;
        }
    }
    return static_cast<std::size_t>(start - bytes.data());
}

// The piece goes once parse returns: the cells of a record it leaves open are kept apart.
void CsvReader::keepOpenRecord(std::string_view piece)
{
    const std::less<const char *> before;
    for (std::size_t i = 0; i < std::min(m_cellCount, m_maxCells); ++i) {
        const std::string_view cell = m_cells[i];
        if (!cell.empty() && !before(cell.data(), piece.data()) &&
            before(cell.data(), piece.data() + piece.size()))
            m_cells[i] = m_cellTexts[i].assign(cell);
    }
}

bool CsvReader::finish()
{
    if (m_atStart) {
        m_atStart = false;
        if (m_bomPrefix != byteOrderMark && !feedAfterMark(m_bomPrefix))
            return false;
    }
    if (m_stopped)
        return false;
    if (m_separator == detectSeparator) {
        // A first line without a line end or a separator: one column, whatever it is.
        useSeparator(',');
        std::string held = std::move(m_firstLine);
        if (!parse(held))
            return false;
    }
    try {
        if (m_state == State::quoted) {
            stop("an unclosed quote");
        } else if (m_state != State::recordStart) {
            // The last line without a line end.
            endCell(m_partial, m_state == State::afterQuote, m_partialNonAscii);
            if (!m_stopped)
                endRecord('\0');
        }
    } catch (const std::exception &fault) {
        stopUnsolved(fault.what());
    }
    return !m_stopped;
}

void CsvReader::stopUnsolved(const char *what) noexcept
{
    try {
        stop(std::string("the row could not be solved (") + what + ")");
    } catch (...) {
        m_stopped = true;
        m_unsolved = true;
    }
}

void CsvReader::endCell(std::string_view cell, bool quoted, bool nonAscii)
{
    if (cell.size() > maxCellBytes) {
        stop(cellTooLong);
        return;
    }
    if (quoted) {
        m_line += lineEnds(cell);
        nonAscii = !isAscii(cell);
    }
    if (const std::size_t bad = nonAscii ? firstNonUtf8(cell) : std::string_view::npos;
        bad != std::string_view::npos) {
        constexpr char hex[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(cell[bad]);
        stop("bytes that are not UTF-8 in cell " + std::to_string(m_cellCount + 1) + " (0x" +
             hex[byte >> 4] + hex[byte & 15] + " at its byte " + std::to_string(bad + 1) +
             "): the file is not UTF-8; save it as UTF-8 (a spreadsheet's \"CSV UTF-8\") "
             "or give --encoding windows-1252 or latin1");
        return;
    }
    if (m_cellCount < m_maxCells) {
        if (!m_partial.empty() && cell.data() == m_partial.data()) {
            m_cellTexts[m_cellCount].swap(m_partial);
            cell = m_cellTexts[m_cellCount];
        }
        m_cells[m_cellCount] = cell;
    }
    m_partial.clear();
    m_partialNonAscii = false;
    ++m_cellCount;
}

void CsvReader::endRecord(char lineEnd)
{
    m_afterCarriageReturn = lineEnd == '\r';
    m_state = State::recordStart;
    CsvRecord record{m_recordLine, m_cellCount, m_cells};
    m_cellCount = 0;
    if (!m_handler(record))
        m_stopped = true;
    ++m_line;
}

void CsvReader::stop(std::string what)
{
    m_stopped = true;
    m_fault = CsvFault{m_state != State::recordStart ? m_recordLine : m_line, std::move(what)};
}

namespace {

bool needsQuotes(std::string_view cell, char separator)
{
    return std::any_of(cell.begin(), cell.end(), [separator](char c) {
        return c == separator || c == '"' || c == '\r' || c == '\n';
    });
}

// Writes the cell at out, which has room for it quoted with every byte doubled; returns the end.
char *writeCell(char *out, std::string_view cell, char separator, CellForm form = {})
{
    const bool comma = form.commaAt != std::string_view::npos;
    if (!(comma && separator == ',') && (form.plain || !needsQuotes(cell, separator))) {
        std::memcpy(out, cell.data(), cell.size());
        if (comma)
            out[form.commaAt] = ',';
        return out + cell.size();
    }
    *out++ = '"';
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '"')
            *out++ = '"';
        *out++ = comma && i == form.commaAt ? ',' : cell[i];
    }
    *out++ = '"';
    return out;
}

// The most a cell can take written: in quotes, every byte doubled.
std::size_t mostWritten(std::string_view cell)
{
    return 2 * cell.size() + 2;
}

} // namespace

// The row goes into room made for the most it can take, then the rest is cut off: one check of
// the room per row instead of one per cell and separator.
void appendCsvRow(std::string &out, std::span<const std::string> lead,
                  std::span<const std::string> cells, char separator,
                  std::span<const CellForm> forms)
{
    std::size_t most = lead.size() + cells.size() + 1;
    for (const std::string &cell : lead)
        most += mostWritten(cell);
    for (const std::string &cell : cells)
        most += mostWritten(cell);
    const std::size_t start = out.size();
    out.resize(start + most);
    char *at = out.data() + start;
    for (std::size_t i = 0; i < lead.size(); ++i) {
        if (i > 0)
            *at++ = separator;
        at = writeCell(at, lead[i], separator);
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0 || !lead.empty())
            *at++ = separator;
        at = writeCell(at, cells[i], separator, forms.empty() ? CellForm{} : forms[i]);
    }
    *at++ = '\n';
    out.resize(static_cast<std::size_t>(at - out.data()));
}

void appendCsvRow(std::string &out, std::span<const std::string *const> cells, char separator,
                  std::span<const CellForm> forms)
{
    std::size_t most = cells.size() + 1;
    for (const std::string *cell : cells)
        most += mostWritten(*cell);
    const std::size_t start = out.size();
    out.resize(start + most);
    char *at = out.data() + start;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0)
            *at++ = separator;
        at = writeCell(at, *cells[i], separator, forms.empty() ? CellForm{} : forms[i]);
    }
    *at++ = '\n';
    out.resize(static_cast<std::size_t>(at - out.data()));
}

} // namespace zorvik
