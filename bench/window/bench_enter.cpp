// SPDX-License-Identifier: GPL-3.0-or-later
// Enter on the milling window (the largest page) holding its worked example, up to the page
// drawn again: the solve, the consistency check, every explanation and every look. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. The median of the repetitions is the
// figure to read; one frame is 16 ms.
#include "bench/support/widgetbenchmarks.h"
#include "calculator/calculatorwindow.h"
#include "examples/workedexamples.h"
#include "operations/operation.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace {

void enterToRepaint(benchmark::State &state)
{
    const zorvik::OperationDefinition *milling = zorvik::findOperation("milling");
    const zorvik::test::Texts &typed = zorvik::test::workedExample("milling").typed;
    auto *window = new zorvik::calculator::CalculatorWindow(milling->design(), *milling);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    for (auto _ : state) {
        window->reset(0);
        for (const auto &[name, text] : typed)
            window->field(QString::fromUtf8(name.data(), qsizetype(name.size())))
                ->setText(QString::fromUtf8(text.data(), qsizetype(text.size())));
        QLineEdit *focus = window->field(QStringLiteral("txteeff"));
        focus->setFocus();
        QCoreApplication::processEvents();

        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(focus, Qt::Key_Return);
        window->repaint();
        QCoreApplication::processEvents();
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(taken.count());
        if (window->field(QStringLiteral("txtmp"))->text().isEmpty()) {
            state.SkipWithError("Enter did not solve the page");
            break;
        }
    }
    delete window;
}

BENCHMARK(enterToRepaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char *argv[])
{
    return zorvik::bench::runWidgetBenchmarks(argc, argv);
}
