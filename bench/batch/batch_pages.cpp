// SPDX-License-Identifier: GPL-3.0-or-later
// Writes ROWS random pages of an operation (longitudinal turning unless named) as CSV to FILE,
// then solves the same pages in memory, as zorvik-solve --csv does for each row but without
// reading or writing, and prints the mean solve time per page in microseconds, wall clock and
// processor time (which a loaded machine disturbs less). With "semicolon", FILE is written as a
// spreadsheet set to a locale with a decimal comma writes it: semicolons between cells, decimal
// commas in them.
// Usage: batch_pages ROWS FILE [comma|semicolon] [OPERATION]
#include "operations/operation.h"
#include "solver/preparedlist.h"
#include "solver/solve.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

std::string decimal(double value)
{
    char text[32];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2).ptr;
    return std::string(text, end);
}

// A typed field of the random pages: a number between low and high, or, with below, that much
// less than the field before it (a small diameter under a large one).
struct Typed {
    std::string_view field;
    double low;
    double high;
    bool below = false;
    // Typed on every other page, the field after it on the rest (cutting or spindle speed).
    bool orNext = false;
    bool whole = false; // a count
};

// What a user types on each operation's page over the window's defaults: the dimensions, the
// speeds and feeds, the force and efficiencies.
std::vector<Typed> typedFields(std::string_view operation)
{
    const std::vector<Typed> turning{{"txtidiam", 20, 200},    {"txtfdiam", 1, 19, true},
                                     {"txtlen", 10, 500},      {"txtangle", 45, 90},
                                     {"txtcspeed", 50, 300, false, true},
                                     {"txtrpm", 100, 3000},    {"txtfeed", 0.05, 0.5},
                                     {"txtspcf", 1000, 3000},  {"txteeff", 0.7, 0.95},
                                     {"txtmeff", 0.7, 0.95}};
    if (operation == "longitudinal" || operation == "face")
        return turning;
    if (operation == "taper")
        return {{"txtdl", 20, 200},   {"txtds", 1, 19, true},    {"txttl", 10, 300},
                {"txtwl", 50, 500},   {"txtcspeed", 50, 300},    {"txtfeed", 0.05, 0.5},
                {"txtmeff", 0.7, 0.95}, {"txteeff", 0.7, 0.95}};
    if (operation == "drilling")
        return {{"txtfdiam2", 3, 40}, {"txtcspeed", 10, 40, false, true}, {"txtrpm", 100, 3000},
                {"txtfeed", 0.05, 0.4}, {"txtspcf", 1000, 3000}, {"txtmeff", 0.7, 0.95},
                {"txteeff", 0.7, 0.95}};
    if (operation == "milling")
        return {{"txtdiam", 20, 200},  {"txtcw", 5, 50},       {"txtih", 10, 100},
                {"txtfh", 1, 9, true}, {"txtcs", 20, 300},     {"txtfpt", 0.02, 0.3},
                {"txtnot", 2, 13, false, false, true},
                {"txtspcf", 1000, 3000}, {"txtmeff", 0.7, 0.95}, {"txteeff", 0.7, 0.95}};
    if (operation == "shaping")
        return {{"txtrpm", 5, 40}, {"txtl", 50, 600}, {"txtw", 20, 300}, {"txtf", 0.1, 2},
                {"txtspcf", 1000, 3000}};
    return {};
}

// One page as typed, by the fields of typedFields.
std::vector<std::string> randomPage(const std::vector<Typed> &fields, std::mt19937_64 &random)
{
    auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    std::vector<std::string> page;
    double before = 0;
    bool blankNext = false;
    for (const Typed &typed : fields) {
        double value = uniform(typed.low, typed.high);
        if (typed.below)
            value = before - value;
        if (typed.whole)
            value = std::floor(value);
        before = value;
        bool blank = blankNext;
        blankNext = false;
        if (typed.orNext) {
            blankNext = random() % 2 == 0;
            blank = !blankNext;
        }
        page.push_back(blank ? "" : decimal(value));
    }
    return page;
}

} // namespace

int main(int argc, char **argv)
{
    const bool semicolon = argc >= 4 && std::string_view(argv[3]) == "semicolon";
    const std::string_view name = argc == 5 ? argv[4] : "longitudinal";
    const OperationDefinition *found = findOperation(name);
    if (argc < 3 || argc > 5 ||
        (argc >= 4 && !semicolon && std::string_view(argv[3]) != "comma") || !found) {
        std::fprintf(stderr, "usage: batch_pages ROWS FILE [comma|semicolon] [OPERATION]\n");
        return 2;
    }
    const char separator = semicolon ? ';' : ',';
    const long rows = std::atol(argv[1]);
    const OperationDefinition &operation = *found;
    const RelationList &list = operation.relations;
    const std::vector<Typed> fields = typedFields(name);
    std::vector<FieldId> columns;
    for (const Typed &typed : fields)
        columns.push_back(list.fieldId(typed.field));

    std::FILE *file = std::fopen(argv[2], "wb");
    if (!file) {
        std::perror(argv[2]);
        return 1;
    }
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i)
        (i > 0 ? line += separator : line) += fields[i].field;
    std::fprintf(file, "%s\n", line.c_str());
    std::mt19937_64 random(14);
    for (long row = 0; row < rows; ++row) {
        std::vector<std::string> page = randomPage(fields, random);
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
            std::vector<std::string> page = randomPage(fields, random);
            for (std::size_t i = 0; i < columns.size(); ++i)
                store.setText(columns[i], page[i]);
            typed.push_back(std::move(store));
        }
        auto start = std::chrono::steady_clock::now();
        std::clock_t processorStart = std::clock();
        for (const FieldStore &page : typed) {
            solved = page; // reused, as the batch reuses its store
            solve(prepared, solved);
            if (solved.isBlank(columns[0]))
                std::abort(); // keeps the solve; every page has its first field
        }
        solving += std::chrono::steady_clock::now() - start;
        processor += std::clock() - processorStart;
    }
    std::printf("%.3f %.3f\n", std::chrono::duration<double, std::micro>(solving).count() / rows,
                1e6 * double(processor) / CLOCKS_PER_SEC / double(rows));
    return 0;
}
