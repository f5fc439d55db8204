// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvbatch.h"

#include "solver/preparedlist.h"
#include "solver/solve.h"
#include "tools/csvreader.h"
#include "tools/materialsolve.h"
#include "tools/processio.h"

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

struct Batch {
    std::vector<std::string> cells; // row after row: its kept cells, then its fields' cells
    std::vector<long> lines;        // the line each row starts on
    std::size_t rows = 0;
    std::string output; // the rows' complete text, written only as a whole
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

std::string_view separatorName(char separator)
{
    return separator == ';' ? "semicolons" : separator == '\t' ? "tabs" : "commas";
}

// What the header's columns are: fields named by their names or captions, and kept columns.
struct Header {
    std::vector<std::size_t> keptColumns; // in column order
    std::vector<std::size_t> fieldColumns;
    std::vector<FieldId> fields;          // of fieldColumns
    std::vector<std::string> fieldTitles; // of fieldColumns, as the header writes them
    std::vector<std::string> keptTitles;

    std::size_t width() const { return keptColumns.size() + fieldColumns.size(); }
};

// The header, or why it names no page.
std::optional<std::string> readHeader(const RelationList &list, const Captions &captions,
                                      const CsvBatchOptions &options, char separator,
                                      const CsvRecord &record, Header &header)
{
    auto fieldOf = [&](std::string_view title) {
        FieldId field = list.fieldId(title);
        for (std::size_t i = 0; field < 0 && i < captions.size(); ++i) {
            if (captions[i] == title)
                field = static_cast<FieldId>(i);
        }
        return field;
    };
    for (const std::string &name : options.keep) {
        if (fieldOf(name) >= 0)
            return "--keep '" + name + "' names a field; only columns that are no fields are kept";
    }
    // The reader keeps one cell more than the fields and kept columns together, so a longer
    // header still shows an unknown or repeated name among the kept cells.
    std::vector<bool> named(list.fields.size(), false);
    std::vector<bool> kept(options.keep.size(), false);
    std::size_t count = std::min(record.cellCount, record.cells->size());
    for (std::size_t column = 0; column < count; ++column) {
        const std::string &title = (*record.cells)[column];
        auto keep = std::find(options.keep.begin(), options.keep.end(), title);
        if (keep != options.keep.end()) {
            std::size_t index = static_cast<std::size_t>(keep - options.keep.begin());
            if (kept[index])
                return "column '" + title + "' is named more than once in the header";
            kept[index] = true;
            header.keptColumns.push_back(column);
            header.keptTitles.push_back(title);
            continue;
        }
        FieldId field = fieldOf(title);
        if (field < 0) {
            std::string hint;
            for (char other : {',', ';', '\t'}) {
                if (other != separator && title.find(other) != std::string::npos)
                    hint = std::string(" (cells are separated by ") +
                           std::string(separatorName(separator)) + " here, not " +
                           std::string(separatorName(other)) + ")";
            }
            std::string names;
            for (std::string_view name : list.fields)
                (names += names.empty() ? "" : ", ") += name;
            return "unknown field '" + title + "' in the header" + hint +
                   " (keep a column that is no field with --keep); fields are: " + names;
        }
        if (named[static_cast<std::size_t>(field)])
            return "field '" + title + "' is named more than once in the header";
        named[static_cast<std::size_t>(field)] = true;
        header.fieldColumns.push_back(column);
        header.fields.push_back(field);
        header.fieldTitles.push_back(title);
    }
    for (std::size_t i = 0; i < options.keep.size(); ++i) {
        if (!kept[i])
            return "column '" + options.keep[i] + "' given to --keep is not in the header";
    }
    return std::nullopt;
}

} // namespace

int reportUnwrittenOutput(std::ostream &err)
{
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
          m_err(err), m_warnings(err), m_materials(operation, options)
    {}

    int run(std::istream &in)
    {
        OrderedWorkers workers(
            m_options.jobs, [this](Batch &batch) { solveBatch(batch); },
            [this](Batch &batch) { writeBatch(batch); });
        m_workers = &workers;
        m_batch = workers.take();
        CsvReader reader(
            m_list.fields.size() + m_options.keep.size() + m_materials.extraColumns() + 1,
            [this](const CsvRecord &record) {
                return m_headerRead ? takeRow(record) : takeHeader(record);
            },
            m_options.separator ? m_options.separator : CsvReader::detectSeparator);
        readInput(in, reader);
        if (m_batch->rows > 0 && m_out && !m_solveFault)
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
        m_badHeader = readHeader(m_list, m_captions,
                                 m_materials.headerOptions(*record.cells, record.cellCount),
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
        NumberCells cells(m_decimalComma);
        setGivenTexts(m_base, m_options.shared, cells, m_warnings);

        std::vector<std::string> titles;
        for (std::size_t i = 0; i < m_list.fields.size(); ++i)
            titles.emplace_back(m_options.captions ? std::string_view(m_captions[i])
                                                   : m_list.fields[i]);
        std::string line;
        appendCsvRow(line, m_header.keptTitles, titles, m_separator);
        m_out << line;
        return true;
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
        Batch &batch = *m_batch;
        std::size_t first = batch.rows * width;
        if (batch.cells.size() < first + width) {
            batch.cells.resize(first + width);
            batch.lines.resize(batch.rows + 1);
        }
        for (std::size_t column = 0; column < width; ++column)
            batch.cells[first + m_slots[column]] = (*record.cells)[column];
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
            if (!reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
                return;
        }
    }

    void solveBatch(Batch &batch) const
    {
        std::size_t row = 0;
        std::size_t whole = batch.output.size();
        try {
            NumberCells cells(m_decimalComma, m_list.endOfPass.empty());
            FieldStore store = m_base;
            const std::size_t width = m_header.width();
            const std::size_t keptCount = m_header.keptColumns.size();
            for (; row < batch.rows; ++row) {
                store = m_base;
                const std::string *rowCells = batch.cells.data() + row * width;
                for (std::size_t i = 0; i < m_header.fields.size(); ++i) {
                    const std::string &text = rowCells[keptCount + i];
                    if (cells.set(store, m_header.fields[i], text))
                        continue;
                    if (batch.warnings.size() < Warnings::shownAtMost)
                        batch.warnings.push_back(
                            notANumberWarning("line " + std::to_string(batch.lines[row]) + ", " +
                                                  m_header.fieldTitles[i],
                                              text, m_decimalComma));
                    else
                        ++batch.unshownWarnings;
                }
                if (m_operation.prepare)
                    m_operation.prepare(store);
                cells.beforeSolve(store);
                for (const std::string &warning :
                     m_materials.solveRow(m_prepared, m_captions, rowCells, store)) {
                    if (batch.warnings.size() < Warnings::shownAtMost)
                        batch.warnings.push_back("line " + std::to_string(batch.lines[row]) + ", " +
                                                 warning);
                    else
                        ++batch.unshownWarnings;
                }
                appendCsvRow(batch.output, std::span(rowCells, keptCount), store.texts(),
                             m_separator, cells.decimalCommas(store));
                whole = batch.output.size();
            }
        } catch (const std::exception &fault) {
            failRow(batch, row, whole, fault.what());
        } catch (...) {
            failRow(batch, row, whole, "an unknown fault");
        }
    }

    static void failRow(Batch &batch, std::size_t row, std::size_t whole, std::string_view what)
    {
        batch.output.resize(whole);
        batch.fault =
            CsvFault{batch.lines[row], "the row could not be solved (" + std::string(what) + ")"};
    }

    // Nothing is written after a row that could not be solved.
    void writeBatch(Batch &batch)
    {
        if (m_solveFault)
            return;
        m_out << batch.output;
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
        if (badRow) {
            m_err << "zorvik-solve: line " << badRow->line << ": " << badRow->what << "\n";
            return 1;
        }
        if (m_readFailed) {
            m_err << "zorvik-solve: the input could not be read to its end\n";
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

    Header m_header;
    std::vector<std::size_t> m_slots; // where each header column goes in a row's cells
    char m_separator = ',';
    bool m_headerRead = false;
    std::optional<std::string> m_badHeader;
    std::optional<CsvFault> m_badRow;
    std::optional<CsvFault> m_solveFault;
    bool m_readFailed = false;

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
