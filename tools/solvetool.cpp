// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/solvetool.h"

#include "operations/designs.h"
#include "operations/operation.h"
#include "solver/explain.h"
#include "tools/csvbatch.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

namespace zorvik {

namespace {

constexpr int badUse = 2;

std::string joined(const std::vector<std::string_view> &names)
{
    std::string text;
    for (std::string_view name : names) {
        if (!text.empty())
            text += ", ";
        text += name;
    }
    return text;
}

std::string operationNames()
{
    std::vector<std::string_view> names;
    for (const OperationDefinition &operation : operationDefinitions())
        names.push_back(operation.name);
    return joined(names);
}

void printUsage(std::ostream &out)
{
    out << "usage: zorvik-solve OPERATION [--trace] [--explain] [NAME=TEXT]...\n"
           "       zorvik-solve OPERATION --csv [FILE] [--jobs N] [NAME=TEXT]...\n"
           "Fills every blank field that can be derived, as the calculator's Calculate does,\n"
           "starting from the operation's default texts, and prints every field as NAME=TEXT.\n"
           "--trace first prints each write as: PASS RULE NAME TEXT\n"
           "--explain then prints, for every field in window order, a block: a line\n"
           "  [NAME] CAPTION, the field's text (or why it is blank), how it got it (the rule, its\n"
           "  formula and the formula with the texts it read) or why each rule that could fill\n"
           "  it did not, and an empty line.\n"
           "--csv solves one page per row of FILE (standard input when absent or -): a header\n"
           "naming fields, then their texts; prints a header of every field, then one row per\n"
           "page, in order. NAME=TEXT then applies to every row, before its cells. --jobs N\n"
           "solves N rows at once (default: one per core).\n"
           "operations: "
        << operationNames() << "\n";
}

std::optional<unsigned> positiveNumber(std::string_view text)
{
    unsigned number = 0;
    auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (fault != std::errc() || end != text.data() + text.size() || number == 0)
        return std::nullopt;
    return number;
}

// One block per field, in the order the window shows them.
// given: by field id, whether an argument set the field; the others hold the window's default.
void printExplanations(const OperationDefinition &operation, const SolveRecord &record,
                       const FieldStore &solved, const std::vector<bool> &given, std::ostream &out)
{
    const RelationList &list = operation.relations;
    const Captions captions = fieldCaptions(operation);
    std::vector<bool> defaults(list.fields.size(), false);
    for (const auto &[field, text] : operation.defaults)
        defaults[static_cast<std::size_t>(field)] = !given[static_cast<std::size_t>(field)];
    const std::vector<FieldExplanation> explanations =
        explainSolve(list, captions, record, solved, defaults);
    std::vector<FieldId> order;
    for (const calculator::FieldDesign &field : designFunction(operation.id)().fields) {
        if (FieldId id = list.fieldId(field.name); id >= 0)
            order.push_back(id);
    }
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        if (std::find(order.begin(), order.end(), static_cast<FieldId>(i)) == order.end())
            order.push_back(static_cast<FieldId>(i));
    }
    for (FieldId field : order) {
        const auto index = static_cast<std::size_t>(field);
        out << '\n'
            << '[' << list.fields[index] << "] " << captions[index] << '\n'
            << explanations[index].text << '\n';
    }
}

} // namespace

int runSolveTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::istringstream noInput;
    return runSolveTool(args, noInput, out, err);
}

namespace {

int run(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
        std::ostream &err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printUsage(out);
        return 0;
    }
    if (args.empty()) {
        err << "zorvik-solve: no operation given; expected one of: " << operationNames() << "\n";
        return badUse;
    }
    const OperationDefinition *operation = findOperation(args[0]);
    if (!operation) {
        err << "zorvik-solve: unknown operation '" << args[0]
            << "'; expected one of: " << operationNames() << "\n";
        return badUse;
    }

    const RelationList &list = operation->relations;
    FieldStore store = operation->defaultStore();
    std::vector<bool> given(list.fields.size(), false);
    bool trace = false;
    bool explain = false;
    bool csv = false;
    std::optional<std::string> csvFile;
    std::optional<unsigned> jobs;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        if (arg == "--trace" || arg == "--explain") {
            (arg == "--trace" ? trace : explain) = true;
            continue;
        }
        if (arg == "--csv") {
            if (csv) {
                err << "zorvik-solve: --csv is given more than once\n";
                return badUse;
            }
            csv = true;
            // An argument that is neither an option nor NAME=TEXT names the input.
            if (i + 1 < args.size() && args[i + 1].find('=') == std::string::npos &&
                (args[i + 1] == "-" || args[i + 1].rfind("-", 0) != 0))
                csvFile = args[++i];
            continue;
        }
        if (arg == "--jobs") {
            jobs = i + 1 < args.size() ? positiveNumber(args[++i]) : std::nullopt;
            if (!jobs) {
                err << "zorvik-solve: --jobs wants a whole number of rows solved at once, 1 or "
                       "more\n";
                return badUse;
            }
            continue;
        }
        std::size_t equals = arg.find('=');
        if (equals == std::string::npos) {
            err << "zorvik-solve: argument '" << arg
                << "' is not NAME=TEXT; expected --trace, --explain, --csv [FILE], --jobs N or "
                   "NAME=TEXT with NAME one of: "
                << joined(list.fields) << "\n";
            return badUse;
        }
        std::string name = arg.substr(0, equals);
        FieldId field = list.fieldId(name);
        if (field < 0) {
            err << "zorvik-solve: unknown field '" << name << "' for " << operation->name
                << "; fields are: " << joined(list.fields) << "\n";
            return badUse;
        }
        if (given[static_cast<std::size_t>(field)]) {
            err << "zorvik-solve: field '" << name << "' is given more than once\n";
            return badUse;
        }
        given[static_cast<std::size_t>(field)] = true;
        store.setText(field, arg.substr(equals + 1));
    }

    if (csv && (trace || explain)) {
        err << "zorvik-solve: " << (trace ? "--trace" : "--explain")
            << " cannot be used with --csv\n";
        return badUse;
    }
    if (jobs && !csv) {
        err << "zorvik-solve: --jobs is only for --csv\n";
        return badUse;
    }
    if (csv) {
        unsigned jobCount = jobs.value_or(std::max(1u, std::thread::hardware_concurrency()));
        if (!csvFile || *csvFile == "-")
            return runCsvBatch(*operation, store, jobCount, in, out, err);
        std::ifstream file(*csvFile, std::ios::binary);
        if (!file) {
            err << "zorvik-solve: cannot open '" << *csvFile << "': " << std::strerror(errno)
                << "\n";
            return badUse;
        }
        return runCsvBatch(*operation, store, jobCount, file, out, err);
    }

    if (operation->prepare)
        operation->prepare(store);

    // Collected first so that nothing reaches out unless the whole solve has run.
    std::ostringstream text;
    SolveTrace traceWriter;
    if (trace) {
        traceWriter = [&](int pass, std::string_view rule, FieldId field,
                          const std::string &value) {
            text << pass << ' ' << rule << ' ' << list.fields[static_cast<std::size_t>(field)]
                 << ' ' << value << '\n';
        };
    }
    SolveRecord record;
    solve(list, store, traceWriter, explain ? &record : nullptr);
    for (std::size_t i = 0; i < list.fields.size(); ++i)
        text << list.fields[i] << '=' << store.text(static_cast<FieldId>(i)) << '\n';
    if (explain)
        printExplanations(*operation, record, store, given, text);
    out << text.str();
    return 0;
}

} // namespace

int runSolveTool(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
                 std::ostream &err)
{
    const int status = run(args, in, out, err);
    // The last of the output may fail only at the flush, as on a full disk; a run that reported
    // nothing else must not end as a success.
    if (status == 0 && !out.flush())
        return reportUnwrittenOutput(err);
    return status;
}

} // namespace zorvik
