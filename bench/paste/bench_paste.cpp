// SPDX-License-Identifier: GPL-3.0-or-later
// Times a paste of a very long text into a calculator field through Edit > Paste, up to the
// field drawn again, then Calculate on it and Ctrl+Z. Usage: bench_paste [characters] [runs]
#include "app/mainwindow.h"
#include "calculator/calculatorwindow.h"
#include "operations/windows.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds taken by the step and by drawing the window again after it.
template <typename Step> double timed(QWidget *window, Step step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    window->repaint();
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const qsizetype characters = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;

    zorvik::MainWindow main(nullptr, zorvik::operationChoices());
    main.show();
    if (!QTest::qWaitForWindowExposed(&main))
        return 1;
    auto *window = zorvik::openWindow(zorvik::calculatorWindows().front(), main);
    QAction *paste = main.findChild<QAction *>("mnupaste");
    QLineEdit *field = window->field("txtcspeed");
    const QString text = QString("1.5x").repeated(characters / 4 + 1).left(characters);
    QGuiApplication::clipboard()->setText(text);

    std::vector<double> pasting, calculating, undoing;
    for (int run = 0; run < runs; ++run) {
        window->reset(0);
        for (const char *name : {"txtidiam", "txtfdiam", "txtlen", "txtfeed", "txtspcf"})
            window->field(name)->setText("50");
        field->setFocus();
        QCoreApplication::processEvents();
        pasting.push_back(timed(&main, [&] { paste->trigger(); }));
        if (field->text().size() != characters) {
            std::fprintf(stderr, "the field holds %lld characters\n",
                         static_cast<long long>(field->text().size()));
            return 1;
        }
        calculating.push_back(timed(&main, [&] { window->calculate(0); }));
        undoing.push_back(timed(&main, [&] { field->undo(); }));
    }
    std::printf("%lld characters, median of %d runs on %s:\n", static_cast<long long>(characters),
                runs, qPrintable(QGuiApplication::platformName()));
    std::printf("  Edit > Paste, drawn: %.0f ms\n", median(pasting));
    std::printf("  Calculate, drawn:    %.0f ms\n", median(calculating));
    std::printf("  Ctrl+Z, drawn:       %.0f ms\n", median(undoing));
    return 0;
}
