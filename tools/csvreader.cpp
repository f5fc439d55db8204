// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvreader.h"

#include "solver/quotedtext.h"
#include "tools/bytecopy.h"

#include <csv.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace zorvik {

namespace {

constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";

// A cell longer than this is no field text but a runaway quote; it stops the run before the
// parser's buffer grows with the rest of the input.
constexpr std::size_t maxCellBytes = std::size_t(1) << 20;
constexpr const char *cellTooLong = "a cell longer than 1 MiB (an unclosed quote?)";

// Whether test holds for any of the text's eight-byte words. Cells are mostly number texts of a
// dozen bytes or so, which two words cover where a byte at a time takes a dozen steps, and every
// cell of a batch is looked at when it is read and again when it is written. A text's last word
// overlaps the one before it; a text shorter than a word is padded with zero bytes in a register
// (a store and a wider load of it would stall).
template <typename Test> bool anyWord(std::string_view text, Test test)
{
    const std::size_t size = text.size();
    if (size < 8) {
        std::uint64_t word = 0;
        for (std::size_t i = 0; i < size; ++i)
            word |= std::uint64_t(static_cast<unsigned char>(text[i])) << (8 * i);
        return size > 0 && test(word);
    }
    auto wordAt = [&text](std::size_t i) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        return word;
    };
    for (std::size_t i = 0; i + 8 <= size; i += 8) {
        if (test(wordAt(i)))
            return true;
    }
    return size % 8 != 0 && test(wordAt(size - 8));
}

constexpr std::uint64_t lowBits = 0x0101010101010101;
constexpr std::uint64_t highBits = 0x8080808080808080;

// Whether any byte of word is byte, which must not be zero (the padding).
constexpr bool hasByte(std::uint64_t word, unsigned char byte)
{
    std::uint64_t x = word ^ (lowBits * byte);
    return ((x - lowBits) & ~x & highBits) != 0;
}

bool isAscii(std::string_view text)
{
    return !anyWord(text, [](std::uint64_t word) { return (word & highBits) != 0; });
}

// Where the first byte that is not UTF-8 is, npos when there is none.
std::size_t firstNonUtf8(std::string_view text)
{
    if (isAscii(text))
        return std::string_view::npos;
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

// Spaces belong to the cell: nothing is trimmed.
int noSpace(unsigned char)
{
    return 0;
}

} // namespace

CsvReader::CsvReader(std::size_t maxCells, RecordHandler handler, char separator)
    : m_parser(std::make_unique<csv_parser>()), m_maxCells(maxCells), m_handler(handler),
      m_cells(maxCells), m_cellTexts(maxCells), m_separator(separator)
{
    if (csv_init(m_parser.get(), CSV_STRICT | CSV_STRICT_FINI | CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
    csv_set_space_func(m_parser.get(), noSpace);
    if (separator != detectSeparator)
        csv_set_delim(m_parser.get(), static_cast<unsigned char>(separator));
}

CsvReader::~CsvReader()
{
    csv_free(m_parser.get());
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
            else if (!m_inQuotes && (c == ',' || c == ';' || c == '\t' || c == '\r' || c == '\n'))
                found = c;
        }
        if (!found && m_firstLine.size() <= maxCellBytes)
            return true;
        m_separator = found == ';' || found == '\t' ? found : ',';
        csv_set_delim(m_parser.get(), static_cast<unsigned char>(m_separator));
        std::string held = std::move(m_firstLine);
        m_firstLine = {};
        return parse(held);
    }
    return parse(bytes);
}

bool CsvReader::parse(std::string_view bytes)
{
    while (!bytes.empty()) {
        if (m_atRecordStart)
            bytes.remove_prefix(takePlainLines(bytes));
        if (m_stopped)
            return false;
        // What the lines without quotes left, libcsv reads a line at a time: a line with a
        // quote, or the start of one the piece does not finish.
        const std::size_t lineEnd = bytes.find('\n');
        if (lineEnd == std::string_view::npos) {
            m_atRecordStart = false;
            if (!parseWithLibcsv(bytes))
                return false;
            break;
        }
        // The line end alone shows whether libcsv is between records after it: only outside
        // quotes does it end one.
        const long recordEnds = m_recordEnds;
        if (!parseWithLibcsv(bytes.substr(0, lineEnd)) ||
            !parseWithLibcsv(bytes.substr(lineEnd, 1)))
            return false;
        m_atRecordStart = m_recordEnds > recordEnds;
        bytes.remove_prefix(lineEnd + 1);
    }
    // A cell still open at the end of the piece is refused as soon as it is too long, so that
    // a runaway quote does not hold the rest of the input; a finished one is checked as it ends.
    if (m_parser->entry_pos > maxCellBytes) {
        stop(cellTooLong);
        return false;
    }
    return true;
}

bool CsvReader::parseWithLibcsv(std::string_view bytes)
{
    if (bytes.empty())
        return true;
    std::size_t parsed =
        csv_parse(m_parser.get(), bytes.data(), bytes.size(), cellEnded, recordEnded, this);
    if (m_stopped)
        return false;
    if (parsed < bytes.size()) {
        stop(csv_error(m_parser.get()) == CSV_EPARSE ? "a quote out of place"
                                                     : "a cell too long to read");
        return false;
    }
    return true;
}

// Nearly every line of a batch holds no quote. Such a line needs none of libcsv's states: its
// cells are the bytes between its separators, and each line end (LF, CR, CRLF) ends a record as
// libcsv reports it, a CRLF as a CR and an empty LF. Taking them here costs a fraction of
// libcsv's byte-by-byte reading.
std::size_t CsvReader::takePlainLines(std::string_view bytes)
{
    std::size_t taken = 0;
    while (!m_stopped) {
        const std::size_t end = bytes.find('\n', taken);
        if (end == std::string_view::npos)
            break;
        std::string_view line = bytes.substr(taken, end - taken);
        const bool crlf = !line.empty() && line.back() == '\r';
        if (crlf)
            line.remove_suffix(1);
        if (line.find('"') != std::string_view::npos || line.find('\r') != std::string_view::npos)
            break;
        if (!line.empty()) {
            // The cells of an ASCII line no longer than a cell may be have no line ends, are
            // UTF-8 and not too long: they need none of takeCell's checks, and a view of them
            // throws nothing.
            const bool checked = line.size() > maxCellBytes || !isAscii(line);
            for (std::size_t start = 0;;) {
                const std::size_t separator = std::min(line.find(m_separator, start), line.size());
                const std::string_view cell = line.substr(start, separator - start);
                if (checked) {
                    takeCellCaught(cell, CellFrom::plainLine);
                } else {
                    beginCell();
                    storeCell(cell, CellFrom::plainLine);
                }
                if (separator == line.size())
                    break;
                start = separator + 1;
            }
        }
        if (crlf)
            takeRecordEndCaught(CSV_CR);
        takeRecordEndCaught(CSV_LF);
        taken = end + 1;
    }
    return taken;
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
        m_separator = ',';
        std::string held = std::move(m_firstLine);
        if (!parse(held))
            return false;
    }
    if (csv_fini(m_parser.get(), cellEnded, recordEnded, this) != 0 ||
        csv_error(m_parser.get()) == CSV_EPARSE) {
        if (!m_stopped)
            stop("an unclosed quote");
        return false;
    }
    return !m_stopped;
}

// libcsv is C: an exception must not unwind through it, where it would end the process. What
// throws here is an allocation, for a cell or in the handler; the row then cannot be solved.
void CsvReader::cellEnded(void *data, std::size_t size, void *self)
{
    static_cast<CsvReader *>(self)->takeCellCaught(
        std::string_view(static_cast<const char *>(data), size), CellFrom::libcsv);
}

void CsvReader::recordEnded(int terminator, void *self)
{
    static_cast<CsvReader *>(self)->takeRecordEndCaught(terminator);
}

void CsvReader::takeCellCaught(std::string_view cell, CellFrom from)
{
    if (m_stopped)
        return;
    try {
        takeCell(cell, from);
    } catch (const std::exception &fault) {
        stopUnsolved(fault.what());
    }
}

void CsvReader::takeRecordEndCaught(int terminator)
{
    ++m_recordEnds;
    if (m_stopped)
        return;
    try {
        takeRecordEnd(terminator);
    } catch (const std::exception &fault) {
        stopUnsolved(fault.what());
    }
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

void CsvReader::beginCell()
{
    if (!m_recordStarted) {
        m_recordStarted = true;
        m_recordLine = m_line;
    }
    m_afterCarriageReturn = false;
}

void CsvReader::takeCell(std::string_view cell, CellFrom from)
{
    beginCell();
    if (cell.size() > maxCellBytes) {
        stop(cellTooLong);
        return;
    }
    if (anyWord(cell, [](std::uint64_t word) { return hasByte(word, '\n') | hasByte(word, '\r'); }))
        m_line += lineEnds(cell);
    if (const std::size_t bad = firstNonUtf8(cell); bad != std::string_view::npos) {
        constexpr char hex[] = "0123456789abcdef";
        const auto byte = static_cast<unsigned char>(cell[bad]);
        stop("bytes that are not UTF-8 in cell " + std::to_string(m_cellCount + 1) + " (0x" +
             hex[byte >> 4] + hex[byte & 15] + " at its byte " + std::to_string(bad + 1) +
             "): the file is not UTF-8; save it as UTF-8 (a spreadsheet's \"CSV UTF-8\") "
             "or give --encoding windows-1252 or latin1");
        return;
    }
    storeCell(cell, from);
}

void CsvReader::storeCell(std::string_view cell, CellFrom from)
{
    if (m_cellCount < m_maxCells) {
        if (from == CellFrom::libcsv)
            cell = m_cellTexts[m_cellCount].assign(cell);
        m_cells[m_cellCount] = cell;
    }
    ++m_cellCount;
}

void CsvReader::takeRecordEnd(int terminator)
{
    // The CR of a CRLF has ended the record and counted the line already.
    bool crlf = terminator == CSV_LF && m_afterCarriageReturn && !m_recordStarted;
    m_afterCarriageReturn = terminator == CSV_CR;
    if (crlf)
        return;
    if (!m_recordStarted) {
        // Reported only because every line end is: a line with nothing on it.
        m_recordLine = m_line;
        if (m_maxCells > 0)
            m_cells[0] = {};
        m_cellCount = 1;
    }
    endRecord();
    ++m_line;
}

void CsvReader::endRecord()
{
    CsvRecord record{m_recordLine, m_cellCount, m_cells};
    m_recordStarted = false;
    m_cellCount = 0;
    if (!m_handler(record))
        m_stopped = true;
}

void CsvReader::stop(std::string what)
{
    m_stopped = true;
    m_fault = CsvFault{m_recordStarted ? m_recordLine : m_line, std::move(what)};
}

namespace {

bool needsQuotes(std::string_view cell, char separator)
{
    return anyWord(cell, [separator](std::uint64_t word) {
        return hasByte(word, static_cast<unsigned char>(separator)) | hasByte(word, '"') |
               hasByte(word, '\r') | hasByte(word, '\n');
    });
}

// Writes the cell at out, which has room for it quoted with every byte doubled; returns the end.
char *writeCell(char *out, std::string_view cell, char separator, CellForm form = {})
{
    const bool comma = form.commaAt != std::string_view::npos;
    if (!(comma && separator == ',') && (form.plain || !needsQuotes(cell, separator))) {
        copyBytes(out, cell.data(), cell.size());
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
