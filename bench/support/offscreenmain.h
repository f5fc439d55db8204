// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

#include <benchmark/benchmark.h>

namespace zorvik::bench {

// The main of a benchmark of windows: on the offscreen platform unless QT_QPA_PLATFORM says
// otherwise, so that it runs the same with or without a display.
inline int runWindowBenchmarks(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace zorvik::bench
