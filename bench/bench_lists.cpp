#include "operations/operation.h"

#include <benchmark/benchmark.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct WorkedExample {
    const char *name;
    std::string_view operation;
    std::vector<std::pair<std::string_view, std::string_view>> typed;
};

// clang-format off
const std::vector<WorkedExample> workedExamples{
    {"taperWorkedExample", "taper",
     {{"txtdl", "50"}, {"txtds", "40"}, {"txttl", "100"}, {"txtwl", "200"}, {"txtcspeed", "60"},
      {"txtfeed", "0.2"}, {"txtchip", "0.4"}, {"txtcf", "800"}, {"txtmeff", "0.9"},
      {"txteeff", "0.8"}}},
    {"drillingWorkedExample", "drilling", {{"txtfdiam2", "10"}, {"txtrpm", "500"}}},
    {"millingWorkedExample", "milling",
     {{"txtdiam", "100"}, {"txtcw", "20"}, {"txtih", "30"}, {"txtfh", "25"}, {"txtnot", "10"},
      {"txtrpm", "200"}, {"txtfpt", "0.1"}, {"txtspcf", "2000"}, {"txtmeff", "0.9"},
      {"txteeff", "0.8"}}},
    {"shapingWorkedExample", "shaping", {{"txtrpm", "10"}, {"txtl", "300"}}},
};
// clang-format on

// One Calculate press: the page's texts are copied in, then solved.
void solveTypedPage(benchmark::State &state, const zorvik::RelationList &list,
                    const zorvik::FieldStore &typed)
{
    for (auto _ : state) {
        zorvik::FieldStore store = typed;
        zorvik::solve(list, store);
        benchmark::DoNotOptimize(store);
    }
}

[[maybe_unused]] const bool registered = [] {
    for (const WorkedExample &example : workedExamples) {
        const zorvik::OperationDefinition &operation = *zorvik::findOperation(example.operation);
        zorvik::FieldStore typed = operation.defaultStore();
        for (const auto &[name, text] : example.typed)
            typed.setText(operation.relations.fieldId(name), std::string(text));
        if (operation.prepare)
            operation.prepare(typed);
        benchmark::RegisterBenchmark(example.name, solveTypedPage, operation.relations, typed);
    }
    return true;
}();

} // namespace
