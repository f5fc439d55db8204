// SPDX-License-Identifier: GPL-3.0-or-later
#include "examples/typedpage.h"
#include "examples/workedexamples.h"
#include "operations/operation.h"
#include "solver/consistency.h"
#include "solver/conversions.h"
#include "solver/preparedlist.h"
#include "solver/solve.h"

#include <benchmark/benchmark.h>

#include <charconv>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace zorvik;

// One page of a batch: the page's texts are copied into the store the batch reuses, then solved
// on the list prepared once.
void solveTypedPage(benchmark::State &state, const RelationList &list, const FieldStore &typed)
{
    const PreparedList prepared(list);
    FieldStore store = typed;
    for (auto _ : state) {
        store = typed;
        solve(prepared, store);
        benchmark::DoNotOptimize(store);
    }
}

// The consistency check of a page the solve filled, with the sources the page keeps, against the
// solve itself: it runs after every Calculate.
void checkSolvedPage(benchmark::State &state, const RelationList &list, const FieldStore &typed)
{
    const ConsistencyCheck check(list);
    FieldStore store = typed;
    SolveRecord record;
    solve(list, store, {}, &record);
    const FieldSources sources = check.sources().ofSolve(record);
    const std::vector<FieldId> fresh = check.sources().freshOf(record);
    for (auto _ : state) {
        std::vector<Disagreement> found = check.check(store, sources, fresh);
        benchmark::DoNotOptimize(found);
    }
}

// What a batch does for each row: a solve that records only where its results came from, then
// the check.
void solveAndCheckPage(benchmark::State &state, const RelationList &list, const FieldStore &typed)
{
    const PreparedList prepared(list);
    const ConsistencyCheck check(list);
    FieldStore store = typed;
    SolveRecord record;
    record.keepTexts = false;
    for (auto _ : state) {
        store = typed;
        solve(prepared, store, {}, &record);
        std::vector<Disagreement> found = check.check(store, {&record});
        benchmark::DoNotOptimize(found);
    }
}

// The text work no solve of a page can avoid: writing every result at 15 significant digits and
// reading the source texts of each rule that wrote one, each source once per rule.
struct TextWork {
    std::vector<double> written;
    std::vector<std::string> read;
};

const Rule &ruleNamed(const RelationList &list, std::string_view id)
{
    for (const RuleGroup &group : list.groups) {
        for (const Rule &rule : group) {
            if (rule.id == id)
                return rule;
        }
    }
    throw std::invalid_argument("no rule " + std::string(id));
}

// Replays a real solve of the page: each write's formula is evaluated again on the store as the
// solve left it, which gives the full-precision number behind the text. A formula reads a field
// when blanking that field alone fails it, so the sources read are found, not listed by hand.
TextWork textWorkOf(const RelationList &list, const FieldStore &typed)
{
    TextWork work;
    FieldStore store = typed;
    std::vector<Num> aux;
    for (const AuxValue &value : list.auxValues)
        aux.push_back(value.define(Values(store, aux)));
    solve(list, store, [&](int, std::string_view id, FieldId target, const std::string &text) {
        const Rule &rule = ruleNamed(list, id);
        Num result = rule.formula(Values(store, aux));
        if (!result.ok() || numberToText(result.value()) != text)
            throw std::logic_error("replay of rule " + std::string(id) + " differs");
        work.written.push_back(result.value());
        for (FieldId field = 0; static_cast<std::size_t>(field) < store.size(); ++field) {
            FieldStore probe = store;
            probe.setText(field, "");
            if (field != target && !rule.formula(Values(probe, aux)).ok())
                work.read.push_back(store.text(field));
        }
    });
    return work;
}

void textFloor(benchmark::State &state, const TextWork &work)
{
    for (auto _ : state) {
        for (double value : work.written) {
            char buffer[32];
            auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::general, 15);
            benchmark::DoNotOptimize(buffer);
            benchmark::DoNotOptimize(written.ptr);
        }
        for (const std::string &text : work.read) {
            double value = 0;
            auto read = std::from_chars(text.data(), text.data() + text.size(), value);
            benchmark::DoNotOptimize(value);
            benchmark::DoNotOptimize(read.ptr);
        }
    }
    state.counters["written"] = static_cast<double>(work.written.size());
    state.counters["read"] = static_cast<double>(work.read.size());
}

void registerPage(const std::string &name, std::string_view operationName, const test::Texts &typed)
{
    const OperationDefinition &operation = test::operationNamed(operationName);
    const FieldStore page = test::typedPage(operation, typed);
    benchmark::RegisterBenchmark(name.c_str(), solveTypedPage, operation.relations, page);
    benchmark::RegisterBenchmark((name + "Check").c_str(), checkSolvedPage, operation.relations,
                                 page);
    benchmark::RegisterBenchmark((name + "SolveAndCheck").c_str(), solveAndCheckPage,
                                 operation.relations, page);
}

[[maybe_unused]] const bool registered = [] {
    // The solves of the turning pages are measured against this.
    const OperationDefinition &turning = test::operationNamed("longitudinal");
    benchmark::RegisterBenchmark(
        "turningTextFloor", textFloor,
        textWorkOf(turning.relations,
                   test::typedPage(turning, test::workedExample("longitudinal").typed)));
    for (const test::WorkedExample &example : test::workedExamples()) {
        registerPage(std::string(example.operation) + "WorkedExample", example.operation,
                     example.typed);
    }
    // Malformed sources under blank targets: applicable rules fail in every one of the 24 passes.
    registerPage("turningFailingPage", "longitudinal",
                 {{"txtidiam", "5..0"},
                  {"txtfdiam", "4.0.0"},
                  {"txtlen", "."},
                  {"txtangle", "9.0."},
                  {"txtcspeed", "1.5.0"},
                  {"txtfeed", "0..2"},
                  {"txtspcf", "2.0.0.0"},
                  {"txteeff", ".9."},
                  {"txtmeff", ".8."},
                  {"txtcp", "5..0"},
                  {"txtmtime", "."},
                  {"txtmrr", "1.2.3"}});
    return true;
}();

} // namespace

BENCHMARK_MAIN();
