#include "operations/operation.h"

#include <benchmark/benchmark.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Texts = std::vector<std::pair<std::string_view, std::string_view>>;

zorvik::FieldStore page(std::string_view operation, const Texts &texts)
{
    const zorvik::OperationDefinition &definition = *zorvik::findOperation(operation);
    zorvik::FieldStore store = definition.defaultStore();
    for (const auto &[name, text] : texts)
        store.setText(definition.relations.fieldId(name), std::string(text));
    return store;
}

// One Calculate press: copy the page's texts in and solve.
void solvePage(benchmark::State &state, std::string_view operation, const Texts &texts)
{
    const zorvik::RelationList &list = zorvik::findOperation(operation)->relations;
    const zorvik::FieldStore typed = page(operation, texts);
    for (auto _ : state) {
        zorvik::FieldStore store = typed;
        zorvik::solve(list, store);
        benchmark::DoNotOptimize(store);
    }
}

void turningWorkedExample(benchmark::State &state)
{
    solvePage(state, "longitudinal",
              {{"txtidiam", "50"},
               {"txtfdiam", "40"},
               {"txtlen", "100"},
               {"txtangle", "90"},
               {"txtcspeed", "150"},
               {"txtfeed", "0.2"},
               {"txtspcf", "2000"},
               {"txteeff", "0.9"},
               {"txtmeff", "0.8"}});
}

// Malformed sources under blank targets: applicable rules fail in every one of the 24 passes.
void turningFailingPage(benchmark::State &state)
{
    solvePage(state, "longitudinal",
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
}

} // namespace

BENCHMARK(turningWorkedExample);
BENCHMARK(turningFailingPage);
BENCHMARK_MAIN();
