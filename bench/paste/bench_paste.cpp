// SPDX-License-Identifier: GPL-3.0-or-later
// Times a paste of a very long text into a calculator field through Edit > Paste, up to the
// field drawn again, then Calculate on it and Ctrl+Z, and the memory the first run of each step
// takes. Usage: bench_paste [characters] [runs]
#include "app/operationwindows.h"
#include "bench/support/firstwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QHelpEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>

#include <algorithm>
#include <cstdio>
#include <string>
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

// A line of /proc/self/status in MiB ("VmRSS", "VmHWM"); 0 where there is none.
double statusMiB(const QByteArray &key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').front().toDouble() / 1024;
    }
    return 0;
}

// Memory in use after a step, and at most during it: the kernel's peak is reset before the
// step where it allows that.
struct Memory {
    double before = 0;
    double peak = 0;
    double after = 0;
};

template <typename Step> Memory measured(Step step)
{
    QFile reset("/proc/self/clear_refs");
    if (reset.open(QIODevice::WriteOnly))
        reset.write("5");
    reset.close();
    Memory memory;
    memory.before = statusMiB("VmRSS");
    step();
    memory.peak = statusMiB("VmHWM");
    memory.after = statusMiB("VmRSS");
    return memory;
}

void report(const char *step, const Memory &memory, qsizetype characters)
{
    std::printf("  %s: %+.0f MiB held after it, at most %+.0f MiB during it (%.1f and %.1f "
                "bytes a character)\n",
                step, memory.after - memory.before, memory.peak - memory.before,
                (memory.after - memory.before) * 1048576 / double(characters),
                (memory.peak - memory.before) * 1048576 / double(characters));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const qsizetype characters = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 5;

    zorvik::MainWindow main(nullptr, zorvik::operationChoices());
    auto *window = zorvik::bench::showWithFirstWindow(main);
    if (!window)
        return 1;
    QAction *paste = main.findChild<QAction *>("mnupaste");
    QLineEdit *field = window->field("txtcspeed");
    const QString text = QString("1.5x").repeated(characters / 4 + 1).left(characters);
    QGuiApplication::clipboard()->setText(text);

    std::vector<double> pasting, calculating, hovering, undoing;
    Memory pasteMemory, calculateMemory, undoMemory;
    for (int run = 0; run < runs; ++run) {
        window->reset(0);
        for (const char *name : {"txtidiam", "txtfdiam", "txtlen", "txtfeed", "txtspcf"})
            window->field(name)->setText("50");
        field->setFocus();
        QCoreApplication::processEvents();
        // The first run's memory is measured; later ones find the allocator warmed up.
        auto step = [run](Memory &memory, const auto &action) {
            if (run == 0)
                memory = measured(action);
            else
                action();
        };
        step(pasteMemory, [&] { pasting.push_back(timed(&main, [&] { paste->trigger(); })); });
        if (field->text().size() != characters) {
            std::fprintf(stderr, "the field holds %lld characters\n",
                         static_cast<long long>(field->text().size()));
            return 1;
        }
        step(calculateMemory, [&] {
            calculating.push_back(timed(&main, [&] { window->calculate(0); }));
            // What hovering the field does once the tooltip delay has passed.
            hovering.push_back(timed(&main, [&] {
                QHelpEvent hover(QEvent::ToolTip, field->rect().center(),
                                 field->mapToGlobal(field->rect().center()));
                QCoreApplication::sendEvent(field, &hover);
            }));
            QToolTip::hideText();
        });
        step(undoMemory, [&] {
            undoing.push_back(
                timed(&main, [&] { QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier); }));
        });
        if (!field->text().isEmpty()) {
            std::fprintf(stderr, "Ctrl+Z left %lld characters\n",
                         static_cast<long long>(field->text().size()));
            return 1;
        }
    }
    std::printf("%lld characters, median of %d runs on %s:\n", static_cast<long long>(characters),
                runs, qPrintable(QGuiApplication::platformName()));
    std::printf("  Edit > Paste, drawn: %.0f ms\n", median(pasting));
    std::printf("  Calculate, drawn:    %.0f ms\n", median(calculating));
    std::printf("  its tooltip, shown:  %.0f ms\n", median(hovering));
    std::printf("  Ctrl+Z, drawn:       %.0f ms\n", median(undoing));
    std::printf("Memory of the first run, from %.0f MiB before the paste:\n", pasteMemory.before);
    report("Edit > Paste", pasteMemory, characters);
    report("Calculate and the tooltip", calculateMemory, characters);
    report("Ctrl+Z", undoMemory, characters);
    std::printf("  peak of the whole run: %.0f MiB\n", statusMiB("VmHWM"));
    return 0;
}
