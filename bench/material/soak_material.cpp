// SPDX-License-Identifier: GPL-3.0-or-later
// Opens "Specific Cutting Force from Material…" from the specific cutting force field's context
// menu, as a user does, and cancels the dialog, many times in one longitudinal turning window;
// prints the resident memory before and after, and what each opening kept.
// Usage: soak_material [openings] [warm-up openings]
#include "app/operationwindows.h"
#include "bench/support/firstwindow.h"
#include "calculator/materialdialog.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

double residentKiB()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toDouble();
    }
    return 0;
}

// One opening: the field's menu, its entry chosen by the keyboard, then Cancel. Returns whether
// the dialog was seen.
bool openAndCancel(QLineEdit *field)
{
    bool seen = false;
    QTimer::singleShot(0, field, [&seen] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *entry = menu ? menu->findChild<QAction *>("fromMaterial") : nullptr;
        if (!entry) {
            if (menu)
                menu->close();
            return;
        }
        QTimer::singleShot(0, menu, [&seen] {
            if (auto *dialog = qobject_cast<zorvik::calculator::MaterialDialog *>(
                    QApplication::activeModalWidget())) {
                seen = true;
                // Drawn whole, as the user sees it before Cancel; a platform that never exposes
                // windows still draws it below.
                (void)QTest::qWaitForWindowExposed(dialog);
                dialog->repaint();
                dialog->reject();
            }
        });
        menu->setActiveAction(entry);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    const QPoint at = field->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, field->mapToGlobal(at));
    QCoreApplication::sendEvent(field, &event);
    return seen;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int openings = argc > 1 ? QByteArray(argv[1]).toInt() : 350;
    const int warmUp = argc > 2 ? QByteArray(argv[2]).toInt() : 20;

    zorvik::MainWindow main(nullptr, zorvik::operationChoices());
    auto *window = zorvik::bench::showWithFirstWindow(main);
    if (!window)
        return 1;
    QLineEdit *field = window->field("txtspcf");

    int done = 0;
    double before = 0;
    bool failed = false;
    // Each opening starts from the main event loop, as a user's does, so that whatever is
    // deleted later is deleted between them.
    std::function<void()> next = [&] {
        if (done == warmUp)
            before = residentKiB();
        if (done == warmUp + openings) {
            app.quit();
            return;
        }
        if (!openAndCancel(field)) {
            failed = true;
            app.quit();
            return;
        }
        ++done;
        QTimer::singleShot(0, &app, next);
    };
    QTimer::singleShot(0, &app, next);
    app.exec();
    if (failed) {
        std::fprintf(stderr, "opening %d did not show the material dialog\n", done + 1);
        return 1;
    }
    const double after = residentKiB();
    std::printf("%d openings after %d on %s: resident %.1f -> %.1f MiB, %.1f KiB an opening\n",
                openings, warmUp, qPrintable(QGuiApplication::platformName()), before / 1024,
                after / 1024, (after - before) / openings);
    return 0;
}
