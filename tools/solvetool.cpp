// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/solvetool.h"

#include "operations/operation.h"
#include "operations/startingdata.h"
#include "solver/explain.h"
#include "solver/filebytes.h"
#include "solver/preparedlist.h"
#include "solver/quotedtext.h"
#include "solver/solve.h"
#include "solver/texts.h"
#include "tools/csvbatch.h"
#include "tools/jobsolve.h"
#include "tools/materialsolve.h"
#include "page/pagecheck.h"
#include "tools/processio.h"
#include "wording/wording.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <thread>

namespace zorvik {

namespace {

constexpr int badUse = 2;
// More threads than this would only wait for the one that reads the input and writes the output.
constexpr unsigned maxJobs = 64;

std::string operationNames()
{
    std::vector<std::string> names;
    for (const OperationDefinition &operation : operationDefinitions()) {
        std::string name(operation.name);
        for (std::string_view alias : operation.aliases)
            (name += " (or ") += std::string(alias) + ")";
        names.push_back(name);
    }
    return joined(std::vector<std::string_view>(names.begin(), names.end()));
}

void printUsage(std::ostream &out)
{
    out << "usage: zorvik-solve OPERATION [--trace] [--explain] [--decimal-comma] [--strict]\n"
           "                    [--material N|NAME [--tool hss|carbide]] [--machine FILE]\n"
           "                    [NAME=TEXT]...\n"
           "       zorvik-solve OPERATION --csv [FILE] [--jobs N] [--separator SEP]\n"
           "                    [--decimal-comma] [--keep COLUMN]... [--captions]\n"
           "                    [--columns input] [--encoding ENC] [--strict]\n"
           "                    [--material N|NAME [--tool hss|carbide]] [--machine FILE]\n"
           "                    [NAME=TEXT]...\n"
           "       zorvik-solve OPERATION --fields\n"
           "       zorvik-solve --job FILE [--strict]\n"
           "       zorvik-solve --materials\n"
           "Fills every blank field that can be derived, as the calculator's Calculate does,\n"
           "starting from the operation's default texts, and prints every field as NAME=TEXT.\n"
           "--trace first prints each write as: PASS RULE NAME TEXT\n"
           "--explain then prints, for every field in window order, a block: a line\n"
           "  [NAME] CAPTION, the field's text (or why it is blank), how it got it (the rule, its\n"
           "  formula and the formula with the texts it read) or why each rule that could fill\n"
           "  it did not, a result's value rounded for reading, and an empty line.\n"
           "--decimal-comma reads numbers with a decimal comma (0,25) as well as a point and\n"
           "  writes results with a decimal comma; not with --trace or --explain. 1.200 and\n"
           "  other numbers whose points only group digits in threes are then no number.\n"
           "A text that is not a number gets a warning on stderr naming it, its likely cause\n"
           "and how each rule that reads it takes it. A field that disagrees by more than 1 %\n"
           "with what a rule gives from the rest of the solved page gets a warning naming it\n"
           "and both values (--explain shows it too). --strict makes either exit status 1,\n"
           "after all the output.\n"
           "--csv solves one page per row of FILE (standard input when absent or -): a header\n"
           "naming fields by name or caption (case, spaces, a colon and the unit do not\n"
           "matter), then their texts; FILE may stand anywhere; prints a header of every field,\n"
           "then one row per page, in order. NAME=TEXT then applies to every row, before its\n"
           "cells. --jobs N solves N rows at once (default: one per core; at most 64).\n"
           "--separator SEP: cells are separated by SEP: ',', ';' or tab; by default the\n"
           "  first of them in the header line. With ';' or tab, numbers are read and written\n"
           "  with a decimal comma as with --decimal-comma.\n"
           "--keep COLUMN copies the header column COLUMN, which is no field, to the output,\n"
           "  first, in input order; any other unknown column is an error.\n"
           "--captions names the output header's fields by their captions.\n"
           "--columns input writes the input's columns in their order, then the fields it\n"
           "  lacks, so that results paste beside the input.\n"
           "--encoding ENC reads input in windows-1252 or latin1 instead of UTF-8.\n"
           "--fields lists the fields in window order: name, caption, default text and whether\n"
           "  a rule can write it, separated by tabs.\n"
           "--material N: a blank specific cutting force is set from work-material group N at\n"
           "  the page's chip thickness, once a solve has that, and the solve goes on from the\n"
           "  page. In a batch, a column 'material' gives a row a group of its own. N may be a\n"
           "  designation instead: C45, 1.4301, GG25, 6061, Ti6Al4V.\n"
           "--tool hss|carbide: with --material, a blank cutting speed and feed are first set\n"
           "  from the starting cutting data: the low end of the speed range, the middle of the\n"
           "  feed range. In a batch, a column 'tool' gives a row a tool material of its own.\n"
           "--machine FILE checks the results against a machine: key = value lines (name,\n"
           "  min-rpm, max-rpm, max-feed-rate, power, max-torque, full-power-rpm; # comments),\n"
           "  with a warning on stderr per result beyond it; --strict then makes the status 1.\n"
           "  The file holds at most 64 KiB.\n"
           "--job FILE solves every page of a job file the calculator saved (.zorvik), each\n"
           "  from its given texts with its results blanked, with the material, tool material\n"
           "  and machine the job recorded, and prints a CSV header (operation, page, then the\n"
           "  fields of the job's operations) and one row per page. A file that is no job, is\n"
           "  truncated, goes on after the job or holds what this version does not know is\n"
           "  refused with status 1.\n"
           "--materials lists the groups: number, ISO class, material, condition, hardness,\n"
           "  kc1 and mc, separated by tabs.\n"
           "example, a spreadsheet export with semicolons, decimal commas and a job column:\n"
           "  printf 'Job;txtidiam;Feed (mm/rev)\\nA-17;50;0,25\\n' |\n"
           "      zorvik-solve turning --csv --keep Job txtcspeed=150\n"
           "operations: "
        << operationNames() << "\n";
}

// A whole number of 1 or more; one too large for an unsigned is taken as the largest.
std::optional<unsigned> positiveNumber(std::string_view text)
{
    unsigned number = 0;
    auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (fault == std::errc::result_out_of_range)
        return std::numeric_limits<unsigned>::max();
    if (fault != std::errc() || number == 0)
        return std::nullopt;
    return number;
}

// Every field, in the order the window shows them, then any it does not show.
std::vector<FieldId> windowOrder(const OperationDefinition &operation)
{
    const RelationList &list = operation.relations;
    std::vector<FieldId> order;
    for (const design::FieldDesign &field : operation.design().fields) {
        if (FieldId id = list.fieldId(field.name); id >= 0)
            order.push_back(id);
    }
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        if (std::find(order.begin(), order.end(), static_cast<FieldId>(i)) == order.end())
            order.push_back(static_cast<FieldId>(i));
    }
    return order;
}

// One block per field, in the order the window shows them.
// given: by field id, whether an argument set the field; the others hold the window's default.
// With material, the solve was one with a material, and record is not used.
// disagreements: the page's, each added to its field's block.
// started: the fields set from starting data before the solve.
void printExplanations(const OperationDefinition &operation, const SolveRecord &record,
                       const FieldStore &solved, const std::vector<bool> &given,
                       const std::vector<std::string> &disagreements, std::ostream &out,
                       const MaterialSolve *material, const std::vector<StartingValue> &started)
{
    const RelationList &list = operation.relations;
    const Captions captions = operation.captions();
    std::vector<bool> defaults(list.fields.size(), false);
    for (const auto &[field, text] : operation.defaults)
        defaults[static_cast<std::size_t>(field)] = !given[static_cast<std::size_t>(field)];
    std::vector<FieldExplanation> explanations =
        material ? explainWithMaterial(operation, captions, *material, solved, defaults)
                 : explainSolve(list, captions, record, solved, defaults, operation.units());
    for (const StartingValue &value : started)
        explanations[static_cast<std::size_t>(value.field)].text =
            *value.text + "\n" + value.explanation + "\nSet before the solve; the solve reads it.";
    for (FieldId field : windowOrder(operation)) {
        const auto index = static_cast<std::size_t>(field);
        out << '\n'
            << '[' << list.fields[index] << "] " << captions[index] << '\n'
            << explanations[index].text << '\n'
            << disagreements[index];
    }
}

// One line per field in window order: name, caption, default text, and whether a rule of the
// solve can write it, tab-separated, so that a spreadsheet or cut(1) takes it apart.
void printFields(const OperationDefinition &operation, std::ostream &out)
{
    const RelationList &list = operation.relations;
    const Captions captions = operation.captions();
    const FieldStore defaults = operation.defaultStore();
    std::vector<bool> written(list.fields.size(), false);
    auto mark = [&](FieldId field) { written[static_cast<std::size_t>(field)] = true; };
    for (const Rule &rule : list.prePass)
        mark(rule.target);
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group)
            mark(rule.target);
    }
    for (const PassCopy &copy : list.endOfPass)
        mark(copy.target);
    out << "name\tcaption\tdefault\tsolved\n";
    for (FieldId field : windowOrder(operation)) {
        const auto index = static_cast<std::size_t>(field);
        out << list.fields[index] << '\t' << captions[index] << '\t' << defaults.text(field) << '\t'
            << (written[index] ? "yes" : "no") << '\n';
    }
}

} // namespace

int runSolveTool(const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    std::istringstream noInput;
    return runSolveTool(args, noInput, out, err);
}

namespace {

std::optional<char> separatorNamed(std::string_view name)
{
    if (name == "," || name == ";")
        return name[0];
    if (name == "tab" || name == "\t")
        return '\t';
    return std::nullopt;
}

// What the command line asks for, once read.
struct Request {
    const OperationDefinition *operation = nullptr;
    std::vector<GivenText> givenTexts;
    std::vector<bool> given; // by field id, whether a NAME=TEXT set it
    bool trace = false;
    bool explain = false;
    bool csv = false;
    bool fields = false;
    bool strict = false;
    bool decimalComma = false;
    bool captions = false;
    bool inputColumns = false;
    std::optional<std::string> csvFile;
    std::string encoding;
    // An argument that is neither an option nor NAME=TEXT: the input, for --csv.
    std::optional<std::string> positional;
    std::optional<unsigned> jobs;
    std::optional<char> separator;
    std::vector<std::string> keep;
    const materials::MaterialGroup *material = nullptr;
    std::optional<cuttingdata::Tool> tool;
    std::optional<Machine> machine;
    // The options only a batch takes, as first given, for the message when there is none.
    std::string batchOnly;
};

using BadUse = std::optional<std::string>;

// An option that takes a value, at args[i]; i is left on the value.
BadUse readValueOption(const std::vector<std::string> &args, std::size_t &i, Request &request)
{
    const std::string &arg = args[i];
    if (request.batchOnly.empty())
        request.batchOnly = arg;
    const std::string *value = i + 1 < args.size() ? &args[++i] : nullptr;
    if (arg == "--jobs") {
        request.jobs = value ? positiveNumber(*value) : std::nullopt;
        if (!request.jobs)
            return "--jobs wants a whole number of rows solved at once, 1 or more";
    } else if (arg == "--separator") {
        request.separator = value ? separatorNamed(*value) : std::nullopt;
        if (!request.separator)
            return "--separator wants ',', ';' or tab";
    } else if (arg == "--columns") {
        if (!value || *value != "input")
            return "--columns wants 'input' (the input's columns in their order, then the "
                   "fields it lacks)";
        request.inputColumns = true;
    } else if (arg == "--encoding") {
        if (!value || (*value != "windows-1252" && *value != "latin1"))
            return "--encoding wants windows-1252 or latin1 (UTF-8 needs none)";
        request.encoding = *value;
    } else {
        if (!value || value->empty())
            return "--keep wants the name of a header column";
        if (std::find(request.keep.begin(), request.keep.end(), *value) != request.keep.end())
            return "--keep " + quotedText(*value) + " is given twice";
        request.keep.push_back(*value);
    }
    return std::nullopt;
}

BadUse readGivenText(const std::string &arg, Request &request)
{
    const RelationList &list = request.operation->relations;
    std::size_t equals = arg.find('=');
    if (equals == std::string::npos)
        return "argument " + quotedText(arg) +
               " is not NAME=TEXT; expected an option such as --trace or --csv (see --help) or "
               "NAME=TEXT with NAME one of: " +
               joined(list.fields);
    std::string name = arg.substr(0, equals);
    FieldId field = list.fieldId(name);
    if (field < 0)
        return "unknown field " + quotedText(name) + " for " +
               std::string(request.operation->name) + "; fields are: " + joined(list.fields) +
               " (zorvik-solve " + std::string(request.operation->name) + " --fields lists them)";
    if (request.given[static_cast<std::size_t>(field)])
        return "field " + quotedText(name) + " is given more than once";
    // Each field is printed on a line of its own: a line break in a text would print lines
    // that look like other fields.
    if (arg.find_first_of("\r\n", equals) != std::string::npos)
        return "the text of " + quotedText(name) +
               " holds a line break; a field's text is one line (a CSV cell in quotes may hold "
               "one)";
    request.given[static_cast<std::size_t>(field)] = true;
    request.givenTexts.push_back({field, name, arg.substr(equals + 1)});
    return std::nullopt;
}

BadUse readMachineFile(const std::string &path, Request &request)
{
    if (request.machine)
        return "--machine is given more than once";
    if (path.empty())
        return "--machine wants the name of a machine file";
    MachineRead read = zorvik::readMachineFile(path, waitForInput);
    if (read.error)
        return wording(*read.error);
    request.machine = std::move(read.machine);
    return std::nullopt;
}

// Reads the arguments after the operation.
BadUse readArguments(const std::vector<std::string> &args, Request &request)
{
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        bool *flag = arg == "--trace"           ? &request.trace
                     : arg == "--explain"       ? &request.explain
                     : arg == "--fields"        ? &request.fields
                     : arg == "--strict"        ? &request.strict
                     : arg == "--decimal-comma" ? &request.decimalComma
                     : arg == "--captions"      ? &request.captions
                                                : nullptr;
        if (flag) {
            *flag = true;
            if (flag == &request.captions && request.batchOnly.empty())
                request.batchOnly = arg;
        } else if (arg == "--csv") {
            if (request.csv)
                return "--csv is given more than once";
            request.csv = true;
            // An argument that is neither an option nor NAME=TEXT names the input.
            if (i + 1 < args.size() && args[i + 1].find('=') == std::string::npos &&
                (args[i + 1] == "-" || args[i + 1].rfind("-", 0) != 0))
                request.csvFile = args[++i];
        } else if (arg == "--material") {
            if (BadUse bad =
                    readMaterial(i + 1 < args.size() ? args[++i] : std::string(), request.material))
                return bad;
        } else if (arg == "--tool") {
            if (request.tool)
                return "--tool is given more than once";
            request.tool = cuttingdata::toolNamed(i + 1 < args.size() ? args[++i] : "");
            if (!request.tool)
                return "--tool wants the tool material: hss or carbide";
        } else if (arg == "--machine") {
            if (BadUse bad = readMachineFile(i + 1 < args.size() ? args[++i] : "", request))
                return bad;
        } else if (arg == "--jobs" || arg == "--separator" || arg == "--keep" ||
                   arg == "--columns" || arg == "--encoding") {
            if (BadUse bad = readValueOption(args, i, request))
                return bad;
        } else if (arg.find('=') == std::string::npos && (arg == "-" || !arg.starts_with("-")) &&
                   !request.positional) {
            request.positional = arg;
        } else if (BadUse bad = readGivenText(arg, request)) {
            return bad;
        }
    }
    // The input may stand anywhere, as other filters take theirs.
    if (request.positional && request.csv && !request.csvFile)
        request.csvFile = std::move(request.positional);
    else if (request.positional)
        return readGivenText(*request.positional, request);
    return std::nullopt;
}

// The options that do not go together.
BadUse checkCombination(const Request &request)
{
    if ((request.csv || request.decimalComma) && (request.trace || request.explain))
        return std::string(request.trace ? "--trace" : "--explain") + " cannot be used with " +
               (request.csv ? "--csv" : "--decimal-comma");
    if (!request.batchOnly.empty() && !request.csv)
        return request.batchOnly + " is only for --csv";
    if (request.tool && !request.material)
        return std::string("--tool goes with --material, whose starting data it picks");
    if (request.material)
        return materialUse(*request.operation, request.tool);
    return std::nullopt;
}

int solveBatch(Request &request, std::istream &in, std::ostream &out, std::ostream &err)
{
    CsvBatchOptions options;
    options.jobs = std::min(maxJobs, request.jobs.value_or(std::thread::hardware_concurrency()));
    options.jobs = std::max(1u, options.jobs);
    options.separator = request.separator.value_or('\0');
    options.decimalComma = request.decimalComma;
    options.captions = request.captions;
    options.inputColumns = request.inputColumns;
    options.encoding = request.encoding;
    options.writePiece = atomicWriteBytes(out);
    options.strict = request.strict;
    options.keep = std::move(request.keep);
    options.shared = std::move(request.givenTexts);
    options.material = request.material;
    options.tool = request.tool;
    options.machine = request.machine ? &*request.machine : nullptr;
    if (!request.csvFile || *request.csvFile == "-")
        return runCsvBatch(*request.operation, options, in, out, err);
    std::optional<FileError> fault;
    const int fd = openForReading(*request.csvFile, fault);
    if (fd < 0) {
        err << "zorvik-solve: " << quotedText(*request.csvFile, fileNameMost) << ": "
            << wording(*fault, "a CSV file") << "\n";
        return badUse;
    }
    options.inputName = *request.csvFile;
    FdInput input(fd, true);
    std::istream file(&input);
    return runCsvBatch(*request.operation, options, file, out, err);
}

// A warning for each field of the solved page that disagrees with what a rule gives from the
// others; by field id, the disagreements as lines, for the explanations. The page's sources are
// record's, or a material solve's two.
std::vector<std::string> warnOfDisagreements(const OperationDefinition &operation,
                                             const FieldStore &page, const SolveRecord *record,
                                             const MaterialSolve *material, Warnings &warnings)
{
    const PageCheck &check = PageCheck::of(operation);
    FieldSources sources = check.sources().ofSolve(record ? *record : material->first);
    if (material && material->kc)
        mergeSources(sources, check.sources().ofSolve(material->second));
    // Each of the few writes of a page is checked again: a check of the solve itself.
    std::vector<std::string> lines(page.size());
    for (const Disagreement &disagreement : check.check(page, sources)) {
        warnings.add(check.warning("", disagreement, page));
        lines[static_cast<std::size_t>(disagreement.field)] +=
            check.text(disagreement, page) + '\n';
    }
    return lines;
}

int solvePage(const Request &request, std::ostream &out, std::ostream &err)
{
    const OperationDefinition &operation = *request.operation;
    const RelationList &list = operation.relations;
    FieldStore store = operation.defaultStore();
    NumberCells cells(request.decimalComma, list.endOfPass.empty());
    Warnings warnings(err);
    setGivenTexts(list, operation.captions(), store, request.givenTexts, cells, warnings);
    operation.prepareTyped(store);
    StartingData starting;
    if (request.material && request.tool) {
        starting = setStartingData(operation, store, *request.material, *request.tool);
        for (const std::string &note : starting.notes)
            warnings.add(note);
    }

    // Collected first so that nothing reaches out unless the whole solve has run.
    std::ostringstream text, explanations;
    SolveTrace traceWriter;
    if (request.trace) {
        traceWriter = [&](int pass, std::string_view rule, FieldId field,
                          const std::string &value) {
            text << pass << ' ' << rule << ' ' << list.fields[static_cast<std::size_t>(field)]
                 << ' ' << value << '\n';
        };
    }
    SolveRecord record;
    record.keepTexts = request.explain;
    cells.beforeSolve(store, !operation.prepare);
    std::optional<FieldStore> typed;
    if (request.machine)
        typed = store;
    std::optional<MaterialSolve> withMaterial;
    if (request.material && materialFields(operation))
        withMaterial = solveWithMaterial(PreparedList(list), operation, operation.captions(),
                                         *request.material, store, traceWriter, true);
    else
        solve(list, store, traceWriter, &record);
    const std::vector<std::string> disagreements =
        warnOfDisagreements(operation, store, withMaterial ? nullptr : &record,
                            withMaterial ? &*withMaterial : nullptr, warnings);
    if (request.explain)
        printExplanations(operation, record, store, request.given, disagreements, explanations,
                          withMaterial ? &*withMaterial : nullptr, starting.set);
    const std::span<const CellForm> forms = cells.cellForms(store);
    for (std::size_t i = 0; i < list.fields.size(); ++i) {
        const std::string *typed = cells.typedText(store, static_cast<FieldId>(i));
        std::string field = typed ? *typed : store.text(static_cast<FieldId>(i));
        if (!typed && forms[i].commaAt != std::string::npos)
            field[forms[i].commaAt] = ',';
        text << list.fields[i] << '=' << field << '\n';
    }
    out << text.str() << explanations.str();
    if (!out.flush())
        return reportUnwrittenOutput(err);
    if (request.machine) {
        for (const std::string &beyond :
             machineWarnings(*request.machine, PreparedList(list), operation, operation.captions(),
                             *typed, store, request.material, std::nullopt))
            warnings.add(beyond);
    }
    return request.strict && warnings.count() > 0 ? 1 : 0;
}

int run(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
        std::ostream &err)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        printUsage(out);
        return 0;
    }
    if (!args.empty() && args[0] == "--materials") {
        if (args.size() != 1) {
            err << "zorvik-solve: --materials takes no other arguments\n";
            return badUse;
        }
        out << materials::tableText();
        return 0;
    }
    if (!args.empty() && args[0] == "--job") {
        const bool strict = args.size() == 3 && args[2] == "--strict";
        if (args.size() < 2 || args[1].empty() || (args.size() > 2 && !strict)) {
            err << "zorvik-solve: --job wants the job file, and takes no other arguments but "
                   "--strict\n";
            return badUse;
        }
        return solveJob(args[1], strict, out, err);
    }
    if (args.empty()) {
        err << "zorvik-solve: no operation given; expected one of: " << operationNames() << "\n";
        return badUse;
    }
    Request request;
    request.operation = findOperation(args[0]);
    if (!request.operation) {
        err << "zorvik-solve: unknown operation " << quotedText(args[0])
            << "; expected one of: " << operationNames() << "\n";
        return badUse;
    }
    request.given.assign(request.operation->relations.fields.size(), false);
    BadUse bad = readArguments(args, request);
    if (!bad && request.fields && args.size() != 2)
        bad = "--fields takes no other arguments";
    if (!bad && !request.fields)
        bad = checkCombination(request);
    // A stop signal that came while a file was read: the process ends by it, without a message.
    if (const int signal = caughtStopSignal())
        return 128 + signal;
    if (bad) {
        err << "zorvik-solve: " << *bad << "\n";
        return badUse;
    }
    if (request.fields) {
        printFields(*request.operation, out);
        return 0;
    }
    return request.csv ? solveBatch(request, in, out, err) : solvePage(request, out, err);
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
