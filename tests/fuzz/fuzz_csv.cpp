// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes, cut into pieces of arbitrary size, through the CSV reader with a separator
// given or detected: whatever it reads is UTF-8 and writes back to text that reads as the same
// records; and through a whole batch run, separated by commas, semicolons or tabs, with decimal
// commas or not, which ends with one of its three statuses and only complete rows on its output.
#include "tests/support/csvcells.h"
#include "tools/csvreader.h"
#include "tools/solvetool.h"

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace zorvik;

namespace {

using Records = std::vector<std::vector<std::string>>;

void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// separator: as given to the reader; it says which it took.
bool read(std::string_view bytes, std::size_t piece, char &separator, Records &records)
{
    CsvReader reader(
        16,
        [&](const CsvRecord &record) {
            check(record.cellCount >= 1);
            std::size_t kept = std::min<std::size_t>(record.cellCount, 16);
            records.emplace_back(record.cells.begin(), record.cells.begin() + kept);
            return true;
        },
        separator);
    auto took = [&] {
        separator = reader.separator();
        check(separator == ',' || separator == ';' || separator == '\t');
    };
    for (std::size_t at = 0; at < bytes.size(); at += piece) {
        if (!reader.feed(bytes.substr(at, piece))) {
            check(reader.fault().has_value());
            return false;
        }
    }
    bool finished = reader.finish();
    check(finished != reader.fault().has_value());
    if (finished)
        took();
    return finished;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::size_t piece = data[0] % 8 + 1;
    const unsigned style = data[0] / 8 % 4;
    std::string_view bytes(reinterpret_cast<const char *>(data) + 1, size - 1);

    Records records;
    char separator = "\0,;\t"[style];
    if (read(bytes, piece, separator, records)) {
        std::string written;
        bool whole = true;
        for (const std::vector<std::string> &record : records) {
            whole = whole && record.size() < 16;
            for (std::size_t i = 0; i < record.size(); ++i)
                test::appendCsvCell(i > 0 ? written += separator : written, record[i], separator);
            written += '\n';
        }
        // A first cell that opens with the text of a byte-order mark keeps it behind a mark.
        written.insert(0, "\xEF\xBB\xBF");
        Records again;
        char same = separator;
        check(read(written, written.size() + 1, same, again));
        if (whole)
            check(again == records);
    }

    // Detected, semicolons given, decimal commas in comma cells, tabs given.
    static const std::vector<std::string> styles[] = {
        {}, {"--separator", ";"}, {"--decimal-comma"}, {"--separator", "tab"}};
    std::vector<std::string> args{"face", "--csv", "--jobs", "1"};
    args.insert(args.end(), styles[style].begin(), styles[style].end());
    // Another bit of the first byte puts the output in the input's column order.
    if (data[0] & 64) {
        args.push_back("--columns");
        args.push_back("input");
    }
    std::istringstream in{std::string(bytes)};
    std::ostringstream out, err;
    int status = runSolveTool(args, in, out, err);
    check(status == 0 || status == 1 || status == 2);
    check(out.str().empty() || out.str().back() == '\n');
    check(status == 0 || !err.str().empty());
    return 0;
}
