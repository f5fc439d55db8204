// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvbatch.h"

#include "solver/preparedlist.h"
#include "solver/solve.h"
#include "tools/csvreader.h"
#include "tools/materialsolve.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <istream>
#include <memory>
#include <mutex>
#include <optional>
#include <ostream>
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
};

// Runs work on batches in jobs threads and writes their outputs in the order they were
// submitted. The caller's thread is one of them: besides reading and writing, it works a batch
// whenever it would otherwise wait, so jobs threads keep jobs cores busy, where a reading thread
// of its own would take turns with the workers for a core. At most a few batches per job are
// under way, so memory does not follow the length of the input.
class OrderedWorkers {
public:
    OrderedWorkers(unsigned jobs, std::function<void(Batch &)> work,
                   std::function<void(Batch &)> write)
        : m_work(std::move(work)), m_write(std::move(write)), m_limit(2 * std::size_t(jobs) + 2)
    {
        for (unsigned i = 1; i < jobs; ++i)
            m_threads.emplace_back([this] { serve(); });
    }

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
        return batch;
    }

    void submit(std::unique_ptr<Batch> batch)
    {
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
    std::size_t m_limit;
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

int runCsvBatch(const OperationDefinition &operation, const CsvBatchOptions &options,
                std::istream &in, std::ostream &out, std::ostream &err)
{
    const RelationList &list = operation.relations;
    const PreparedList prepared(list);
    const Captions captions = operation.captions();
    FieldStore base = operation.defaultStore();
    Header header;
    char separator = ',';
    bool decimalComma = options.decimalComma;
    bool headerRead = false;
    std::optional<std::string> badHeader;
    std::optional<CsvFault> badRow;
    Warnings warnings(err);
    BatchMaterials materials(operation, options);

    // Everything a worker reads is set while the header is read, before the first batch.
    auto solveBatch = [&](Batch &batch) {
        NumberCells cells(decimalComma, list.endOfPass.empty());
        FieldStore store = base;
        const std::size_t width = header.width();
        const std::size_t keptCount = header.keptColumns.size();
        for (std::size_t row = 0; row < batch.rows; ++row) {
            store = base;
            const std::string *rowCells = batch.cells.data() + row * width;
            for (std::size_t i = 0; i < header.fields.size(); ++i) {
                const std::string &text = rowCells[keptCount + i];
                if (cells.set(store, header.fields[i], text))
                    continue;
                if (batch.warnings.size() < Warnings::shownAtMost)
                    batch.warnings.push_back(notANumberWarning(
                        "line " + std::to_string(batch.lines[row]) + ", " + header.fieldTitles[i],
                        text, decimalComma));
                else
                    ++batch.unshownWarnings;
            }
            if (operation.prepare)
                operation.prepare(store);
            cells.beforeSolve(store);
            const std::string bad = materials.solveRow(prepared, captions, rowCells, store);
            if (!bad.empty() && batch.warnings.size() < Warnings::shownAtMost)
                batch.warnings.push_back("line " + std::to_string(batch.lines[row]) +
                                         ", material: " + bad);
            else if (!bad.empty())
                ++batch.unshownWarnings;
            appendCsvRow(batch.output, std::span(rowCells, keptCount), store.texts(), separator,
                         cells.decimalCommas(store));
        }
    };
    auto writeBatch = [&](Batch &batch) {
        out << batch.output;
        for (const std::string &warning : batch.warnings)
            warnings.add(warning);
        for (std::size_t i = 0; i < batch.unshownWarnings; ++i)
            warnings.addUnshown();
    };
    OrderedWorkers workers(options.jobs, solveBatch, writeBatch);
    std::unique_ptr<Batch> batch = workers.take();

    // Where each header column goes in a row's cells: kept ones first.
    std::vector<std::size_t> slots;
    const std::size_t maxCells =
        list.fields.size() + options.keep.size() + materials.extraColumns() + 1;
    const char givenSeparator = options.separator ? options.separator : CsvReader::detectSeparator;
    CsvReader reader(
        maxCells,
        [&](const CsvRecord &record) {
            if (!headerRead) {
                separator = reader.separator();
                badHeader = readHeader(list, captions,
                                       materials.headerOptions(*record.cells, record.cellCount),
                                       separator, record, header);
                if (badHeader)
                    return false;
                materials.headerRead(header.keptTitles);
                headerRead = true;
                decimalComma = decimalComma || separator != ',';
                slots.assign(record.cellCount, 0);
                for (std::size_t i = 0; i < header.keptColumns.size(); ++i)
                    slots[header.keptColumns[i]] = i;
                for (std::size_t i = 0; i < header.fieldColumns.size(); ++i)
                    slots[header.fieldColumns[i]] = header.keptColumns.size() + i;
                NumberCells cells(decimalComma);
                setGivenTexts(base, options.shared, cells, warnings);

                std::vector<std::string> titles;
                for (std::size_t i = 0; i < list.fields.size(); ++i)
                    titles.emplace_back(options.captions ? std::string_view(captions[i])
                                                         : list.fields[i]);
                std::string line;
                appendCsvRow(line, header.keptTitles, titles, separator);
                out << line;
                return true;
            }
            const std::size_t width = header.width();
            if (record.cellCount != width) {
                // A spreadsheet with a decimal comma that writes commas between cells puts its
                // numbers in quotes; a file written by hand may not.
                const bool split = separator == ',' && record.cellCount > width;
                badRow =
                    CsvFault{record.line, cellCount(record.cellCount) + " where the header has " +
                                              std::to_string(width) +
                                              (split ? " (a decimal comma outside quotes separates "
                                                       "cells too)"
                                                     : "")};
                return false;
            }
            std::size_t first = batch->rows * width;
            if (batch->cells.size() < first + width) {
                batch->cells.resize(first + width);
                batch->lines.resize(batch->rows + 1);
            }
            for (std::size_t column = 0; column < width; ++column)
                batch->cells[first + slots[column]] = (*record.cells)[column];
            batch->lines[batch->rows] = record.line;
            if (++batch->rows == batchRows) {
                workers.submit(std::move(batch));
                batch = workers.take();
            }
            return true;
        },
        givenSeparator);

    std::string buffer(readBytes, '\0');
    bool reading = true;
    // Output that cannot be written (a full disk, a closed pipe) ends the run: the rest would be
    // solved for nothing.
    while (reading && in && out) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        reading =
            reader.feed(std::string_view(buffer.data(), static_cast<std::size_t>(in.gcount())));
    }
    bool readFailed = in.bad();
    if (reading && !readFailed && out)
        reader.finish();
    if (batch->rows > 0 && out)
        workers.submit(std::move(batch));
    workers.drain();
    warnings.finish();

    if (badHeader) {
        err << "zorvik-solve: " << *badHeader << "\n";
        return 2;
    }
    if (!out)
        return reportUnwrittenOutput(err);
    if (!badRow)
        badRow = reader.fault();
    if (badRow) {
        err << "zorvik-solve: line " << badRow->line << ": " << badRow->what << "\n";
        return 1;
    }
    if (readFailed) {
        err << "zorvik-solve: the input could not be read to its end\n";
        return 1;
    }
    if (!headerRead) {
        err << "zorvik-solve: the input has no header row naming its fields\n";
        return 2;
    }
    if (!out.flush())
        return reportUnwrittenOutput(err);
    return options.strict && warnings.count() > 0 ? 1 : 0;
}

} // namespace zorvik
