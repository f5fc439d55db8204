// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QMainWindow>
#include <QMdiArea>
#include <QTimer>
#include <QWindow>

// Shows an empty main window with a work area. With --quit-when-shown it quits once the window
// is on the screen, polled the same way the application polls for its own window.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QMdiArea);
    window.resize(800, 600);
    if (app.arguments().contains("--quit-when-shown")) {
        auto *poll = new QTimer(&window);
        poll->setInterval(1);
        QObject::connect(poll, &QTimer::timeout, &window, [&window] {
            if (window.windowHandle() && window.windowHandle()->isExposed())
                QCoreApplication::exit(0);
        });
        poll->start();
    }
    window.show();
    window.activateWindow();
    return app.exec();
}
