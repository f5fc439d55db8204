// SPDX-License-Identifier: GPL-3.0-or-later
// Enter on the milling window (the largest page) holding its worked example, up to the page
// drawn again: the solve, the consistency check, every explanation and every look. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise. The median of the repetitions is the
// figure to read; one frame is 16 ms.
#include "calculator/calculatorwindow.h"
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

using Texts = std::vector<std::pair<const char *, const char *>>;

// The milling worked example: a 100 mm cutter 20 mm into the work, 30 mm down to 25.
const Texts typed{{"txtdiam", "100"}, {"txtcw", "20"},   {"txtih", "30"},   {"txtfh", "25"},
                  {"txtnot", "10"},   {"txtrpm", "200"}, {"txtfpt", "0.1"}, {"txtspcf", "2000"},
                  {"txtmeff", "0.9"}, {"txteeff", "0.8"}};

void enterToRepaint(benchmark::State &state)
{
    const zorvik::OperationDefinition *milling = zorvik::findOperation("milling");
    auto *window = new zorvik::calculator::CalculatorWindow(milling->design(), *milling);
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) {
        state.SkipWithError("the window was not shown");
        return;
    }
    for (auto _ : state) {
        window->reset(0);
        for (const auto &[name, text] : typed)
            window->field(QString::fromLatin1(name))->setText(QString::fromLatin1(text));
        QLineEdit *focus = window->field(QStringLiteral("txteeff"));
        focus->setFocus();
        QCoreApplication::processEvents();

        const auto start = std::chrono::steady_clock::now();
        QTest::keyClick(focus, Qt::Key_Return);
        window->repaint();
        QCoreApplication::processEvents();
        const std::chrono::duration<double> taken = std::chrono::steady_clock::now() - start;
        state.SetIterationTime(taken.count());
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
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
