// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvbatch.h"

#include "solver/nonnumber.h"
#include "solver/preparedlist.h"
#include "solver/quotedtext.h"
#include "solver/solve.h"
#include "tools/csvheader.h"
#include "tools/csvreader.h"
#include "tools/materialsolve.h"
#include "page/pagecheck.h"
#include "tools/processio.h"
#include "tools/recoding.h"

#include <algorithm>
#include <bit>
#include <condition_variable>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
#include <system_error>
#include <thread>

namespace zorvik {

namespace {

// Rows travel in batches so that a handover between threads costs little against the solves.
constexpr std::size_t batchRows = 256;
constexpr std::size_t readBytes = 64 * 1024;
// Columns without a name a spreadsheet may leave at the end of a header, past its data.
constexpr std::size_t maxUnnamedColumns = 64;

struct Batch {
    std::vector<std::string> cells; // row after row: its kept cells, then its fields' cells
    std::vector<long> lines;        // the line each row starts on
    std::size_t rows = 0;
    std::string output;               // the rows' complete text, written only as a whole
    std::vector<std::size_t> rowEnds; // where in output each row ends
    // Of the texts that are not numbers, the first warnings (no more can be shown) and a count
    // of the rest.
    std::vector<std::string> warnings;
    std::size_t unshownWarnings = 0;
    // A row that could not be solved (memory ran out): output holds the rows before it.
    std::optional<CsvFault> fault;
};

// Runs work on batches in up to jobs threads and writes their outputs in the order they were
// submitted. The caller's thread is one of them: besides reading and writing, it works a batch
// whenever it would otherwise wait, so jobs threads keep jobs cores busy, where a reading thread
// of its own would take turns with the workers for a core. A thread starts only when a batch is
// there for it, so a short input starts few; when one cannot start (a process limit), the
// threads there are do the work. At most a few batches per job are under way, so memory does not
// follow the length of the input. work must not throw.
class OrderedWorkers {
public:
    OrderedWorkers(unsigned jobs, std::function<void(Batch &)> work,
                   std::function<void(Batch &)> write)
        : m_work(std::move(work)), m_write(std::move(write)), m_jobs(jobs),
          m_limit(2 * std::size_t(jobs) + 2)
    {}

    ~OrderedWorkers()
    {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_workReady.notify_all();
        for (std::thread &thread : m_threads)
            thread.join();
    }

    std::unique_ptr<Batch> take()
    {
        if (m_free.empty())
            return std::make_unique<Batch>();
        std::unique_ptr<Batch> batch = std::move(m_free.back());
        m_free.pop_back();
        batch->rows = 0;
        batch->output.clear();
        batch->rowEnds.clear();
        batch->warnings.clear();
        batch->unshownWarnings = 0;
        batch->fault.reset();
        return batch;
    }

    void submit(std::unique_ptr<Batch> batch)
    {
        // The caller's thread and one per batch submitted before this one: no more threads
        // than batches.
        if (m_threads.size() + 1 < m_jobs && m_threads.size() < m_submitted)
            startThread();
        ++m_submitted;
        if (m_threads.empty()) {
            m_work(*batch);
            m_write(*batch);
            m_free.push_back(std::move(batch));
            return;
        }
        {
            std::lock_guard lock(m_mutex);
            m_pending.push_back({std::move(batch), false});
        }
        m_workReady.notify_one();
        writeFinished(m_limit);
    }

    // Writes every batch submitted so far.
    void drain() { writeFinished(0); }

private:
    struct Slot {
        std::unique_ptr<Batch> batch;
        bool done;
    };

    void startThread()
    {
        try {
            m_threads.emplace_back([this] { serve(); });
        } catch (const std::system_error &) {
            m_jobs = static_cast<unsigned>(m_threads.size()) + 1;
        }
    }

    void serve()
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_workReady.wait(lock, [this] { return m_stopping || m_claimed < m_pending.size(); });
            if (m_claimed >= m_pending.size())
                return;
            workNext(lock);
        }
    }

    // Works the first batch no thread has taken; called and returns with the lock held.
    void workNext(std::unique_lock<std::mutex> &lock)
    {
        std::size_t seq = m_written + m_claimed++;
        Batch &batch = *m_pending[seq - m_written].batch;
        lock.unlock();
        m_work(batch);
        lock.lock();
        m_pending[seq - m_written].done = true;
        m_workDone.notify_all();
    }

    // Writes finished batches from the front, while more than keep are pending working one or
    // waiting for one.
    void writeFinished(std::size_t keep)
    {
        for (;;) {
            std::unique_ptr<Batch> batch;
            {
                std::unique_lock lock(m_mutex);
                while (m_pending.size() > keep && !m_pending.front().done) {
                    if (m_claimed < m_pending.size())
                        workNext(lock);
                    else
                        m_workDone.wait(lock);
                }
                if (m_pending.empty() || !m_pending.front().done)
                    return;
                batch = std::move(m_pending.front().batch);
                m_pending.pop_front();
                ++m_written;
                --m_claimed;
            }
            m_write(*batch);
            m_free.push_back(std::move(batch));
        }
    }

    std::function<void(Batch &)> m_work;
    std::function<void(Batch &)> m_write; // on the caller's thread, in order
    unsigned m_jobs;
    std::size_t m_limit;
    std::size_t m_submitted = 0;
    std::vector<std::thread> m_threads;
    std::vector<std::unique_ptr<Batch>> m_free; // the caller's thread only

    std::mutex m_mutex;
    std::condition_variable m_workReady;
    std::condition_variable m_workDone;
    std::deque<Slot> m_pending; // submitted, not yet written, in order
    std::size_t m_written = 0;  // batches written before m_pending's front
    std::size_t m_claimed = 0;  // of m_pending, those a worker has taken
    bool m_stopping = false;
};

std::string cellCount(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " cell" : " cells");
}

} // namespace

int reportUnwrittenOutput(std::ostream &err)
{
    // A stop signal that came while the output waited for room left the rest unwritten.
    if (const int signal = caughtStopSignal())
        return 128 + signal;
    err << "zorvik-solve: the output could not be written\n";
    return 1;
}

namespace {

// One run of a batch: the reader's handler takes the header, then each row into a batch of
// rows; the workers solve the batches and write them in order.
class BatchRun {
public:
    BatchRun(const OperationDefinition &operation, const CsvBatchOptions &options,
             std::ostream &out, std::ostream &err)
        : m_operation(operation), m_list(operation.relations), m_prepared(m_list),
          m_captions(operation.captions()), m_options(options),
          m_decimalComma(options.decimalComma), m_base(operation.defaultStore()), m_out(out),
          m_err(err), m_warnings(err), m_materials(operation, options), m_check(PageCheck::of(operation))
    {}

    int run(std::istream &in)
    {
        OrderedWorkers workers(
            m_options.jobs, [this](Batch &batch) { solveBatch(batch); },
            [this](Batch &batch) { writeBatch(batch); });
        m_workers = &workers;
        m_batch = workers.take();
        CsvReader reader(
            m_list.fields.size() + m_options.keep.size() + m_materials.extraColumns() +
                maxUnnamedColumns + 1,
            [this](const CsvRecord &record) {
                return m_headerRead ? takeRow(record) : takeHeader(record);
            },
            m_options.separator ? m_options.separator : CsvReader::detectSeparator);
        readInput(in, reader);
        if (!m_badRowIsBadUse)
            writeHeader();
        if (m_batch && m_batch->rows > 0 && m_out && !m_solveFault)
            workers.submit(std::move(m_batch));
        workers.drain();
        m_warnings.finish();
        return status(reader);
    }

private:
    // Everything a worker reads is set here, before the first batch.
    bool takeHeader(const CsvRecord &record)
    {
        m_separator = m_reader->separator();
        m_badHeader = readCsvHeader(m_list, m_captions,
                                    m_materials.headerOptions(record.cells, record.cellCount).keep,
                                    m_separator, record, m_header);
        if (m_badHeader)
            return false;
        m_materials.headerRead(m_header.keptTitles);
        m_headerRead = true;
        m_decimalComma = m_decimalComma || m_separator != ',';
        m_slots.assign(record.cellCount, 0);
        for (std::size_t i = 0; i < m_header.keptColumns.size(); ++i)
            m_slots[m_header.keptColumns[i]] = i;
        for (std::size_t i = 0; i < m_header.fieldColumns.size(); ++i)
            m_slots[m_header.fieldColumns[i]] = m_header.keptColumns.size() + i;
        // A title that matched a field may still hold anything in its brackets.
        for (const std::string &title : m_header.fieldTitles) {
            const std::string quoted = quotedText(title);
            m_shownTitles.push_back(quoted == "'" + title + "'" ? title : quoted);
        }
        std::vector<bool> inHeader(m_list.fields.size(), false);
        for (const FieldId field : m_header.fields)
            inHeader[static_cast<std::size_t>(field)] = true;
        for (std::size_t id = 0; id < inHeader.size(); ++id) {
            if (!inHeader[id])
                m_notInHeader.push_back(static_cast<FieldId>(id));
        }
        m_baseCells = NumberCells(m_decimalComma, m_list.endOfPass.empty());
        setGivenTexts(m_list, m_captions, m_base, m_options.shared, m_baseCells, m_warnings);
        // Of the fields blank in the base, a row leaves only those its solve filled to blank
        // again: most of a page, and found from the store's bits. A solve writes blank fields
        // only, but for a copy at the end of a pass: the base's other texts stay unless copied
        // over.
        std::vector<FieldId> rest;
        for (const FieldId field : m_notInHeader) {
            const bool copiedOver =
                std::any_of(m_list.endOfPass.begin(), m_list.endOfPass.end(),
                            [&](const PassCopy &copy) { return copy.target == field; });
            if (m_base.isBlank(field) && static_cast<std::size_t>(field) < FieldStore::keptFields)
                m_blankInBase |= std::uint64_t(1) << field;
            else if (m_base.isBlank(field) || copiedOver)
                rest.push_back(field);
        }
        m_notInHeader = std::move(rest);

        std::vector<std::string> titles;
        for (std::size_t i = 0; i < m_list.fields.size(); ++i)
            titles.emplace_back(m_options.captions ? std::string_view(m_captions[i])
                                                   : m_list.fields[i]);
        std::string line;
        if (m_options.inputColumns) {
            orderAsInput(record.cellCount);
            std::vector<const std::string *> cells;
            for (const long column : m_order)
                cells.push_back(column < 0 ? &m_header.keptTitles[keptIndex(column)]
                                : m_fieldTitle[static_cast<std::size_t>(column)]
                                    ? m_fieldTitle[static_cast<std::size_t>(column)]
                                    : &titles[static_cast<std::size_t>(column)]);
            appendCsvRow(line, cells, m_separator);
        } else {
            for (std::size_t i = 0; i < m_header.keptColumns.size(); ++i)
                m_order.push_back(-static_cast<long>(i) - 1);
            for (std::size_t i = 0; i < m_list.fields.size(); ++i)
                m_order.push_back(static_cast<long>(i));
            appendCsvRow(line, m_header.keptTitles, titles, m_separator);
        }
        // Written with the first row, so that a first row that is bad use leaves no output.
        m_headerLine = std::move(line);
        return true;
    }

    void writeHeader()
    {
        if (m_headerRead && !m_headerWritten) {
            m_out << m_headerLine;
            m_headerWritten = true;
        }
    }

    static std::size_t keptIndex(long column) { return static_cast<std::size_t>(-column - 1); }

    // The output's columns as the input has them, kept and fields alike, then the fields it
    // does not have in the window's order: a field by its id, a kept column k as -k - 1.
    void orderAsInput(std::size_t columns)
    {
        m_fieldTitle.assign(m_list.fields.size(), nullptr);
        std::vector<bool> placed(m_list.fields.size(), false);
        std::size_t kept = 0, field = 0;
        for (std::size_t column = 0; column < columns; ++column) {
            if (kept < m_header.keptColumns.size() && m_header.keptColumns[kept] == column) {
                m_order.push_back(-static_cast<long>(kept++) - 1);
                continue;
            }
            const auto id = static_cast<std::size_t>(m_header.fields[field]);
            m_fieldTitle[id] = &m_header.fieldTitles[field++];
            placed[id] = true;
            m_order.push_back(static_cast<long>(id));
        }
        for (std::size_t id = 0; id < placed.size(); ++id) {
            if (!placed[id])
                m_order.push_back(static_cast<long>(id));
        }
    }

    // Appends a solved row in the order of m_order, texts that were read otherwise than typed
    // as typed.
    void appendInOrder(std::string &out, const std::string *kept, const FieldStore &store,
                       NumberCells &numbers, std::vector<const std::string *> &cells,
                       std::vector<CellForm> &forms) const
    {
        const std::span<const CellForm> fieldForms = numbers.cellForms(store);
        cells.clear();
        forms.clear();
        for (const long column : m_order) {
            const bool isKept = column < 0;
            const auto index = isKept ? keptIndex(column) : static_cast<std::size_t>(column);
            const auto field = static_cast<FieldId>(index);
            const std::string *typed = isKept ? nullptr : numbers.typedText(store, field);
            cells.push_back(isKept ? &kept[index] : typed ? typed : &store.text(field));
            forms.push_back(isKept || typed ? CellForm{} : fieldForms[index]);
        }
        appendCsvRow(out, cells, m_separator, forms);
    }

    bool takeRow(const CsvRecord &record)
    {
        const std::size_t width = m_header.width();
        if (record.cellCount != width) {
            // A spreadsheet with a decimal comma that writes commas between cells puts its
            // numbers in quotes; a file written by hand may not.
            const bool split = m_separator == ',' && record.cellCount > width;
            m_badRow = CsvFault{
                record.line,
                cellCount(record.cellCount) + " where the header has " + std::to_string(width) +
                    (split ? " (a decimal comma outside quotes separates cells too)" : "")};
            return false;
        }
        for (const std::size_t kept : m_header.unnamed) {
            const std::size_t column = m_header.keptColumns[kept];
            if (const std::string_view cell = record.cells[column]; !cell.empty()) {
                m_badRow =
                    CsvFault{record.line, "column " + std::to_string(column + 1) +
                                              " has no name in the header but holds " +
                                              quotedText(cell) + " here; give the column a name"};
                m_badRowIsBadUse = true;
                return false;
            }
        }
        writeHeader();
        Batch &batch = *m_batch;
        std::size_t first = batch.rows * width;
        if (batch.cells.size() < first + width) {
            batch.cells.resize(first + width);
            batch.lines.resize(batch.rows + 1);
        }
        for (std::size_t column = 0; column < width; ++column)
            batch.cells[first + m_slots[column]].assign(record.cells[column]);
        batch.lines[batch.rows] = record.line;
        if (++batch.rows == batchRows) {
            m_workers->submit(std::move(m_batch));
            m_batch = m_workers->take();
        }
        return true;
    }

    // Feeds the reader to the end of the input, or until it stops at a fault, the input cannot
    // be read, a stop signal came, a row could not be solved or the output cannot be written (a
    // full disk: the rest would be solved for nothing). Only a read that gives nothing is the
    // end: a pipe gives what it has.
    void readInput(std::istream &in, CsvReader &reader)
    {
        m_reader = &reader;
        std::string buffer(readBytes, '\0');
        std::optional<Recoding> recoding;
        if (!m_options.encoding.empty())
            m_recoding = &recoding.emplace(m_options.encoding);
        while (m_out && !m_solveFault && !caughtStopSignal()) {
            // Rows that come in slowly, through a pipe or typed, come out as soon as the input
            // waits, not a batch later; a stop signal then ends the run with them written.
            if (m_batch->rows > 0 && in.rdbuf()->in_avail() == 0) {
                m_workers->submit(std::move(m_batch));
                m_batch = m_workers->take();
                m_workers->drain();
                continue;
            }
            std::streamsize got;
            try {
                got = in.rdbuf()->sgetn(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            } catch (...) {
                m_readFailed = true;
                return;
            }
            if (got == 0) {
                if (!caughtStopSignal())
                    reader.finish();
                return;
            }
            std::optional<std::string_view> piece(std::in_place, buffer.data(),
                                                  static_cast<std::size_t>(got));
            if (m_recoding && !(piece = m_recoding->convert(*piece))) {
                m_badEncoding = m_recoding->error();
                return;
            }
            if (!reader.feed(*piece))
                return;
        }
    }

    void solveBatch(Batch &batch) const
    {
        std::size_t row = 0;
        std::size_t whole = batch.output.size();
        try {
            NumberCells cells = m_baseCells;
            FieldStore store = m_base;
            std::vector<const std::string *> ordered;
            std::vector<CellForm> orderedForms;
            const std::size_t width = m_header.width();
            const std::size_t keptCount = m_header.keptColumns.size();
            for (; row < batch.rows; ++row) {
                // Each field of the header is set from the row's cells below: only the others
                // need their base texts back, which spares copying all.
                for (std::uint64_t written = store.filled() & m_blankInBase; written != 0;
                     written &= written - 1)
                    store.setText(static_cast<FieldId>(std::countr_zero(written)), {});
                for (const FieldId field : m_notInHeader) {
                    if (store.text(field) != m_base.text(field))
                        store.setText(field, m_base.text(field));
                }
                const std::string *rowCells = batch.cells.data() + row * width;
                for (std::size_t i = 0; i < m_header.fields.size(); ++i) {
                    const std::string &text = rowCells[keptCount + i];
                    if (cells.set(store, m_header.fields[i], text))
                        continue;
                    if (batch.warnings.size() < Warnings::shownAtMost)
                        batch.warnings.push_back(notANumberWarning(
                            "line " + std::to_string(batch.lines[row]) + ", " + m_shownTitles[i],
                            text, m_decimalComma,
                            nonNumberText(m_list, m_captions, m_header.fields[i],
                                          store.text(m_header.fields[i]))));
                    else
                        ++batch.unshownWarnings;
                }
                m_operation.prepareTyped(store);
                cells.beforeSolve(store, !m_operation.prepare);
                std::vector<Disagreement> disagreements;
                for (const std::string &warning :
                     m_materials.solveRow(m_prepared, m_captions, rowCells, store, &m_check.check(),
                                          &disagreements)) {
                    if (batch.warnings.size() < Warnings::shownAtMost)
                        batch.warnings.push_back("line " + std::to_string(batch.lines[row]) + ", " +
                                                 warning);
                    else
                        ++batch.unshownWarnings;
                }
                warnOfDisagreements(batch, row, store, disagreements);
                if (m_options.inputColumns || cells.anyRetyped())
                    appendInOrder(batch.output, rowCells, store, cells, ordered, orderedForms);
                else
                    appendCsvRow(batch.output, std::span(rowCells, keptCount), store.texts(),
                                 m_separator, cells.cellForms(store));
                batch.rowEnds.push_back(batch.output.size());
                whole = batch.output.size();
            }
        } catch (const std::exception &fault) {
            failRow(batch, row, whole, fault.what());
        } catch (...) {
            failRow(batch, row, whole, "an unknown fault");
        }
    }

    // A warning for each field of the row's solved page that disagrees with what a rule gives
    // from the others.
    void warnOfDisagreements(Batch &batch, std::size_t row, const FieldStore &page,
                             const std::vector<Disagreement> &disagreements) const
    {
        for (const Disagreement &disagreement : disagreements) {
            if (batch.warnings.size() < Warnings::shownAtMost)
                batch.warnings.push_back(m_check.warning("line " + std::to_string(batch.lines[row]),
                                                         disagreement, page));
            else
                ++batch.unshownWarnings;
        }
    }

    // Runs on a worker, where an exception would end the process: with no memory left even
    // for the message, the fault has none, and the status gives a fixed one.
    static void failRow(Batch &batch, std::size_t row, std::size_t whole,
                        std::string_view what) noexcept
    {
        batch.output.resize(whole);
        try {
            batch.fault = CsvFault{batch.lines[row],
                                   "the row could not be solved (" + std::string(what) + ")"};
        } catch (...) {
            batch.fault = CsvFault{batch.lines[row], std::string()};
        }
    }

    // In pieces of whole rows, each at most writePiece bytes where it can be (a longer row is a
    // piece of its own): a stop signal can then end the run between any two pieces.
    void writeRows(const Batch &batch)
    {
        const std::size_t most = m_options.writePiece;
        if (most == 0) {
            m_out << batch.output;
            return;
        }
        std::size_t start = 0, end = 0;
        for (const std::size_t rowEnd : batch.rowEnds) {
            if (rowEnd - start > most && end > start) {
                if (!m_out.write(batch.output.data() + start,
                                 static_cast<std::streamsize>(end - start)))
                    return;
                start = end;
            }
            end = rowEnd;
        }
        if (end > start)
            m_out.write(batch.output.data() + start, static_cast<std::streamsize>(end - start));
    }

    // Nothing is written after a row that could not be solved.
    void writeBatch(Batch &batch)
    {
        if (m_solveFault)
            return;
        writeRows(batch);
        for (const std::string &warning : batch.warnings)
            m_warnings.add(warning);
        for (std::size_t i = 0; i < batch.unshownWarnings; ++i)
            m_warnings.addUnshown();
        m_solveFault = batch.fault;
    }

    int status(const CsvReader &reader)
    {
        if (m_badHeader) {
            m_err << "zorvik-solve: " << *m_badHeader << "\n";
            return 2;
        }
        if (!m_out)
            return reportUnwrittenOutput(m_err);
        // A row that could not be solved comes before any the reader was reading then.
        std::optional<CsvFault> badRow = m_solveFault ? m_solveFault : m_badRow;
        if (!badRow)
            badRow = reader.fault();
        if (!badRow && reader.unsolved()) {
            m_err << "zorvik-solve: a row could not be solved (memory ran out)\n";
            return 1;
        }
        if (badRow) {
            m_err << "zorvik-solve: line " << badRow->line << ": "
                  << (badRow->what.empty() ? "the row could not be solved (memory ran out)"
                                           : badRow->what)
                  << "\n";
            return !m_solveFault && m_badRowIsBadUse ? 2 : 1;
        }
        if (m_badEncoding) {
            m_err << "zorvik-solve: " << *m_badEncoding << "\n";
            return 1;
        }
        if (m_readFailed) {
            m_err << "zorvik-solve: "
                  << (m_options.inputName.empty() ? std::string("the input")
                                                  : quotedText(m_options.inputName, fileNameMost))
                  << " could not be read to its end\n";
            return 1;
        }
        if (const int signal = caughtStopSignal())
            return 128 + signal;
        if (!m_headerRead) {
            m_err << "zorvik-solve: the input has no header row naming its fields\n";
            return 2;
        }
        if (!m_out.flush())
            return reportUnwrittenOutput(m_err);
        return m_options.strict && m_warnings.count() > 0 ? 1 : 0;
    }

    const OperationDefinition &m_operation;
    const RelationList &m_list;
    const PreparedList m_prepared;
    const Captions m_captions;
    const CsvBatchOptions &m_options;
    bool m_decimalComma;
    FieldStore m_base;
    std::ostream &m_out;
    std::ostream &m_err;
    Warnings m_warnings;
    BatchMaterials m_materials;
    const PageCheck &m_check;

    CsvHeader m_header;
    std::vector<std::string> m_shownTitles; // of the header's fields, for messages
    NumberCells m_baseCells{false};         // what set the shared texts in m_base
    std::vector<long> m_order; // the output's columns: a field by its id, kept column k as -k-1
    std::vector<const std::string *> m_fieldTitle; // by field, its input title or null
    std::vector<std::size_t> m_slots;              // where each header column goes in a row's cells
    // The fields no header column sets that a row may change: those blank in the base, as bits
    // by id, and the rest.
    std::uint64_t m_blankInBase = 0;
    std::vector<FieldId> m_notInHeader;
    char m_separator = ',';
    bool m_headerRead = false;
    bool m_headerWritten = false;
    std::string m_headerLine;
    std::optional<std::string> m_badHeader;
    std::optional<CsvFault> m_badRow;
    bool m_badRowIsBadUse = false;
    std::optional<CsvFault> m_solveFault;
    bool m_readFailed = false;
    Recoding *m_recoding = nullptr; // while the input is read, with --encoding
    std::optional<std::string> m_badEncoding;

    CsvReader *m_reader = nullptr;
    OrderedWorkers *m_workers = nullptr;
    std::unique_ptr<Batch> m_batch; // the rows read since the last batch went to the workers
};

} // namespace

int runCsvBatch(const OperationDefinition &operation, const CsvBatchOptions &options,
                std::istream &in, std::ostream &out, std::ostream &err)
{
    return BatchRun(operation, options, out, err).run(in);
}

} // namespace zorvik
