#include "tests/support/typedpage.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace zorvik;

// One Calculate press: the page's texts are copied in, then solved.
void solveTypedPage(benchmark::State &state, const RelationList &list, const FieldStore &typed)
{
    for (auto _ : state) {
        FieldStore store = typed;
        solve(list, store);
        benchmark::DoNotOptimize(store);
    }
}

void registerPage(const std::string &name, std::string_view operationName, const test::Texts &typed)
{
    const OperationDefinition &operation = test::operationNamed(operationName);
    benchmark::RegisterBenchmark(name.c_str(), solveTypedPage, operation.relations,
                                 test::typedPage(operation, typed));
}

[[maybe_unused]] const bool registered = [] {
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
