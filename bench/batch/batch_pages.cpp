// SPDX-License-Identifier: GPL-3.0-or-later
// Writes ROWS random longitudinal turning pages as CSV to FILE, then solves the same pages in
// memory, as zorvik-solve --csv does for each row but without reading or writing, and prints the
// mean solve time per page in microseconds, wall clock and processor time (which a loaded
// machine disturbs less). With "semicolon", FILE is written as a spreadsheet set to a locale
// with a decimal comma writes it: semicolons between cells, decimal commas in them.
// Usage: batch_pages ROWS FILE [semicolon]
#include "operations/operation.h"
#include "solver/preparedlist.h"
#include "solver/solve.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace zorvik;

namespace {

const std::vector<std::string_view> header{"txtidiam",  "txtfdiam", "txtlen",  "txtangle",
                                           "txtcspeed", "txtrpm",   "txtfeed", "txtspcf",
                                           "txteeff",   "txtmeff"};

std::string decimal(double value)
{
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

// One page as typed: diameters, length and angle, either the cutting speed or the spindle
// speed, feed and the power figures.
std::vector<std::string> randomPage(std::mt19937_64 &random)
{
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    double idiam = uniform(20, 200);
    bool byCuttingSpeed = random() % 2 == 0;
    return {decimal(idiam),
            decimal(idiam - uniform(1, 19)),
            decimal(uniform(10, 500)),
            decimal(uniform(45, 90)),
            byCuttingSpeed ? decimal(uniform(50, 300)) : "",
            byCuttingSpeed ? "" : decimal(uniform(100, 3000)),
            decimal(uniform(0.05, 0.5)),
            decimal(uniform(1000, 3000)),
            decimal(uniform(0.7, 0.95)),
            decimal(uniform(0.7, 0.95))};
}

} // namespace

int main(int argc, char **argv)
{
    const bool semicolon = argc == 4 && std::string_view(argv[3]) == "semicolon";
    if (argc != 3 && !semicolon) {
        std::fprintf(stderr, "usage: batch_pages ROWS FILE [semicolon]\n");
        return 2;
    }
    const char separator = semicolon ? ';' : ',';
    const long rows = std::atol(argv[1]);
    const OperationDefinition &operation = *findOperation("longitudinal");
    const RelationList &list = operation.relations;
    std::vector<FieldId> columns;
    for (std::string_view name : header)
        columns.push_back(list.fieldId(name));

    std::FILE *file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 1;
    }
    std::string line;
    for (std::size_t i = 0; i < header.size(); ++i)
        (i > 0 ? line += separator : line) += header[i];
    std::fprintf(file, "%s\n", line.c_str());
    std::mt19937_64 random(14);
    for (long row = 0; row < rows; ++row) {
        std::vector<std::string> page = randomPage(random);
        line.clear();
        for (std::size_t i = 0; i < page.size(); ++i)
            (i > 0 ? line += separator : line) += page[i];
        if (semicolon)
            std::replace(line.begin(), line.end(), '.', ',');
        std::fprintf(file, "%s\n", line.c_str());
    }
    std::fclose(file);

    // The same pages again, typed into stores a block at a time; only the solves are timed.
    random.seed(14);
    const FieldStore base = operation.defaultStore();
    const PreparedList prepared(list);
    std::vector<FieldStore> typed;
    FieldStore solved = base;
    std::chrono::nanoseconds solving{0};
    std::clock_t processor = 0;
    for (long done = 0; done < rows;) {
        typed.clear();
        for (; done < rows && typed.size() < 10000; ++done) {
            FieldStore store = base;
            std::vector<std::string> page = randomPage(random);
            for (std::size_t i = 0; i < columns.size(); ++i)
                store.setText(columns[i], page[i]);
            typed.push_back(std::move(store));
        }
        auto start = std::chrono::steady_clock::now();
        std::clock_t processorStart = std::clock();
        for (const FieldStore &page : typed) {
            solved = page; // reused, as the batch reuses its store
            solve(prepared, solved);
            if (solved.isBlank(0))
                std::abort(); // keeps the solve; every page has its inner diameter
        }
        solving += std::chrono::steady_clock::now() - start;
        processor += std::clock() - processorStart;
    }
    std::printf("%.3f %.3f\n", std::chrono::duration<double, std::micro>(solving).count() / rows,
                1e6 * double(processor) / CLOCKS_PER_SEC / double(rows));
    return 0;
}
