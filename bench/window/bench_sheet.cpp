// SPDX-License-Identifier: GPL-3.0-or-later
// Export PDF of a six-window job: every operation's window open in the main window, both pages
// of the two-page ones holding their worked example solved, from the command to the file on
// disk (gathering the sheet, laying it out, writing the PDF). Runs on the offscreen platform
// unless QT_QPA_PLATFORM says otherwise; the median is the figure to read.
#include "app/mainwindow.h"
#include "app/operationwindows.h"
#include "bench/support/widgetbenchmarks.h"
#include "calculator/calculatorwindow.h"
#include "examples/workedexamples.h"
#include "operations/operation.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

namespace {

void exportSixWindowJob(benchmark::State &state)
{
    zorvik::MainWindow main(nullptr, zorvik::operationChoices());
    main.show();
    if (!QTest::qWaitForWindowExposed(&main)) {
        state.SkipWithError("the main window was not shown");
        return;
    }
    for (const zorvik::OperationDefinition &operation : zorvik::operationDefinitions()) {
        auto *window = zorvik::calculator::CalculatorWindow::open(operation, main);
        const zorvik::design::WindowDesign &design = operation.design();
        for (int page = 0; page < window->pageCount(); ++page) {
            const QString prefix = QString::fromLatin1(design.pages[std::size_t(page)].prefix);
            for (const auto &[name, text] : zorvik::test::workedExample(operation.name).typed)
                window->field(prefix + QString::fromUtf8(name.data(), qsizetype(name.size())))
                    ->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
            window->calculate(page);
        }
    }
    QCoreApplication::processEvents();
    const std::size_t pages = main.jobSheet(QStringLiteral("bench")).pages.size();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("job.pdf"));
    for (auto _ : state) {
        const QString error = main.exportPdf(path);
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
            break;
        }
    }
    state.counters["sheet pages"] = double(pages);
    state.counters["PDF bytes"] = double(QFileInfo(path).size());
}

BENCHMARK(exportSixWindowJob)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char *argv[])
{
    return zorvik::bench::runWidgetBenchmarks(argc, argv);
}
