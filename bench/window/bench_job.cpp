// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Open of a job of all six calculator windows, each holding its worked example solved
// on its first page, and the recovery file's write that follows a change: what the user waits
// for at Ctrl+S, at Open and, at most once a second, while typing. Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise; read the medians.
#include "app/jobkeeper.h"
#include "app/mainwindow.h"
#include "app/operationwindows.h"
#include "bench/support/widgetbenchmarks.h"
#include "calculator/calculatorwindow.h"
#include "examples/workedexamples.h"
#include "operations/operation.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct SixWindows {
    SixWindows()
    {
        main.jobs().setOpener(zorvik::jobWindowOpener());
        main.jobs().setRecoveryDirectory(dir.path());
        for (const zorvik::OperationDefinition &operation : zorvik::operationDefinitions()) {
            auto *window = zorvik::calculator::CalculatorWindow::open(operation, main);
            for (const auto &[name, text] :
                 zorvik::test::workedExample(std::string(operation.name)).typed)
                window->field(QString::fromUtf8(name.data(), qsizetype(name.size())))
                    ->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
            window->calculate(0);
        }
        path = dir.filePath("six.zorvik");
    }
    zorvik::MainWindow main{nullptr, zorvik::operationChoices()};
    QTemporaryDir dir;
    QString path;
};

SixWindows &job()
{
    static SixWindows six;
    return six;
}

void saveJob(benchmark::State &state)
{
    for (auto _ : state) {
        if (!job().main.jobs().saveTo(job().path))
            state.SkipWithError("the job was not saved");
    }
}

void openJob(benchmark::State &state)
{
    job().main.jobs().saveTo(job().path);
    for (auto _ : state) {
        if (!job().main.jobs().openFile(job().path))
            state.SkipWithError("the job was not opened");
        // The windows Open closed are deleted later; not part of what the user waits for.
        state.PauseTiming();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

void writeRecovery(benchmark::State &state)
{
    for (auto _ : state)
        job().main.jobs().writeRecovery();
}

BENCHMARK(saveJob)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(openJob)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(writeRecovery)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char *argv[])
{
    return zorvik::bench::runWidgetBenchmarks(argc, argv);
}
