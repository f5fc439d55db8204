// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/csvbatch.h"

#include "tools/csvreader.h"

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
    std::vector<std::string> cells; // row after row, one cell per header column
    std::size_t rows = 0;
    std::string output; // the rows' complete text, written only as a whole
};

// Runs work on batches in jobs threads and writes their outputs in the order they were
// submitted. The caller's thread is one of them: besides reading and writing, it works a batch
// whenever it would otherwise wait, so jobs threads keep jobs cores busy (with a thread more, the
// reading one took turns with the others). At most a few batches per job are under way, so
// memory does not follow the length of the input.
class OrderedWorkers {
public:
    OrderedWorkers(unsigned jobs, std::function<void(Batch &)> work, std::ostream &out)
        : m_work(std::move(work)), m_out(out), m_limit(2 * std::size_t(jobs) + 2)
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
        return batch;
    }

    void submit(std::unique_ptr<Batch> batch)
    {
        if (m_threads.empty()) {
            m_work(*batch);
            m_out << batch->output;
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
            m_out << batch->output;
            m_free.push_back(std::move(batch));
        }
    }

    std::function<void(Batch &)> m_work;
    std::ostream &m_out;
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

// The header's fields in column order, or why it names no page.
std::optional<std::string> readHeader(const RelationList &list, const CsvRecord &record,
                                      std::vector<FieldId> &columns)
{
    // The reader keeps one cell more than there are fields, so a longer header still shows an
    // unknown or repeated name among the kept cells.
    std::vector<bool> named(list.fields.size(), false);
    std::size_t kept = std::min(record.cellCount, record.cells->size());
    for (std::size_t i = 0; i < kept; ++i) {
        const std::string &name = (*record.cells)[i];
        FieldId field = list.fieldId(name);
        if (field < 0) {
            // Spreadsheets set to a locale with a decimal comma write semicolons between cells.
            std::string hint;
            if (name.find(';') != std::string::npos)
                hint = " (cells are separated by commas, not semicolons)";
            else if (name.find('\t') != std::string::npos)
                hint = " (cells are separated by commas, not tabs)";
            return "unknown field '" + name + "' in the header" + hint;
        }
        if (named[static_cast<std::size_t>(field)])
            return "field '" + name + "' is named more than once in the header";
        named[static_cast<std::size_t>(field)] = true;
        columns.push_back(field);
    }
    return std::nullopt;
}

} // namespace

int reportUnwrittenOutput(std::ostream &err)
{
    err << "zorvik-solve: the output could not be written\n";
    return 1;
}

int runCsvBatch(const OperationDefinition &operation, const FieldStore &base, unsigned jobs,
                std::istream &in, std::ostream &out, std::ostream &err)
{
    const RelationList &list = operation.relations;
    const PreparedList prepared(list);
    std::vector<FieldId> columns;
    bool headerRead = false;
    std::optional<std::string> badHeader;
    std::optional<CsvFault> badRow;

    auto solveBatch = [&](Batch &batch) {
        FieldStore store = base;
        for (std::size_t row = 0; row < batch.rows; ++row) {
            store = base;
            for (std::size_t column = 0; column < columns.size(); ++column)
                store.setText(columns[column], batch.cells[row * columns.size() + column]);
            if (operation.prepare)
                operation.prepare(store);
            solve(prepared, store);
            appendCsvRow(batch.output, store.texts());
        }
    };
    OrderedWorkers workers(jobs, solveBatch, out);
    std::unique_ptr<Batch> batch = workers.take();

    CsvReader reader(list.fields.size() + 1, [&](const CsvRecord &record) {
        if (!headerRead) {
            badHeader = readHeader(list, record, columns);
            if (badHeader)
                return false;
            headerRead = true;
            std::string header;
            for (std::size_t i = 0; i < list.fields.size(); ++i)
                (header += i > 0 ? "," : "") += list.fields[i];
            out << header << '\n';
            return true;
        }
        if (record.cellCount != columns.size()) {
            badRow = CsvFault{record.line, cellCount(record.cellCount) + " where the header has " +
                                               std::to_string(columns.size())};
            return false;
        }
        std::size_t first = batch->rows * columns.size();
        if (batch->cells.size() < first + columns.size())
            batch->cells.resize(first + columns.size());
        for (std::size_t column = 0; column < columns.size(); ++column)
            batch->cells[first + column] = (*record.cells)[column];
        if (++batch->rows == batchRows) {
            workers.submit(std::move(batch));
            batch = workers.take();
        }
        return true;
    });

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

    if (badHeader) {
        err << "zorvik-solve: " << *badHeader << "; fields are: ";
        for (std::size_t i = 0; i < list.fields.size(); ++i)
            err << (i > 0 ? ", " : "") << list.fields[i];
        err << "\n";
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
    return 0;
}

} // namespace zorvik
