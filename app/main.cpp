// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/appicon.h"
#include "app/display/displayswitch.h"
#include "app/displaycheck.h"
#include "app/jobkeeper.h"
#include "app/mainwindow.h"
#include "app/newprojectdialog.h"
#include "app/operationwindows.h"
#include "app/terminationsignals.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS) && !defined(Q_OS_ANDROID)
constexpr bool xOrWaylandPlatform = true;
#else
constexpr bool xOrWaylandPlatform = false;
#endif

// Where the recovery files live: the user's state directory, for what a program keeps between
// runs that is neither settings nor the user's documents (XDG_STATE_HOME, ~/.local/state when it
// is unset or not absolute, as the XDG base directory rules say).
QString recoveryDirectory()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + u'/' + QCoreApplication::applicationName();
}

// For scripts: the start-up benchmark stops the clock when the main window is on the screen
// with the dialog in it, and a headless run saves a picture once the dialog has slid in.
void watchStartup(zorvik::MainWindow &window, bool quitWhenShown, const QString &screenshot)
{
    constexpr int giveUpMs = 30000;
    auto *poll = new QTimer(&window);
    poll->setInterval(quitWhenShown ? 1 : 20);
    QElapsedTimer clock;
    clock.start();
    QObject::connect(
        poll, &QTimer::timeout, &window, [&window, poll, clock, quitWhenShown, screenshot] {
            const zorvik::NewProjectDialog *dialog = window.newProjectDialog();
            const bool shown = window.windowHandle() && window.windowHandle()->isExposed() &&
                               dialog && dialog->isVisible();
            const bool timedOut = clock.elapsed() > giveUpMs;
            if (quitWhenShown) {
                if (shown || timedOut) {
                    poll->stop();
                    QCoreApplication::exit(shown ? 0 : 1);
                }
                return;
            }
            if (!(shown && !dialog->isUnrolling()) && !timedOut)
                return;
            poll->stop();
            const QPixmap picture = window.screen()->grabWindow(window.winId());
            const QString path = QFileInfo(screenshot).absoluteFilePath();
            QDir().mkpath(QFileInfo(path).absolutePath());
            if (timedOut || !picture.save(path, "PNG")) {
                std::fprintf(stderr, "zorvik: %s\n",
                             timedOut ? "the New Project dialog did not finish sliding in"
                                      : "could not save the screenshot");
                QCoreApplication::exit(1);
                return;
            }
            std::printf("Screenshot: %s\n", qPrintable(QDir::toNativeSeparators(path)));
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    poll->start();
}

} // namespace

int main(int argc, char *argv[])
{
    // Past a file size limit (ulimit -f) a write fails and is told like a full disk, instead of
    // the signal ending the program with the user's work in it.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication::setApplicationName("Zorvik-Engineer");
    QApplication::setApplicationVersion(ZORVIK_VERSION);

    QCommandLineParser parser;
    parser.setApplicationDescription("Cutting data for turning, drilling, milling and shaping: "
                                     "type what you know, and Calculate fills in the rest.");
    const QCommandLineOption screenshot("screenshot",
                                        "Save a picture of the main window to <file> once the "
                                        "New Project dialog has slid in, then quit.",
                                        "file");
    const QCommandLineOption quitWhenShown(
        "quit-when-shown", "Quit as soon as the main window shows the New Project dialog.");
    parser.addOptions({screenshot, quitWhenShown});
    parser.addPositionalArgument("file", "A job file (.zorvik) to open.", "[file]");
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    // Help and version are text only: they are answered before anything looks for a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (parser.parse(arguments) && (parser.isSet(help) || parser.isSet(version))) {
        QCoreApplication textOnly(argc, argv);
        parser.process(textOnly);
    }

    if (!zorvik::hasDisplay(xOrWaylandPlatform,
                            [](const char *name) { return std::getenv(name); })) {
        std::fprintf(stderr, "zorvik: no display: neither DISPLAY nor WAYLAND_DISPLAY is set. "
                             "Start it in a desktop session, or on a virtual X display with "
                             "'xvfb-run zorvik'.\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(ZORVIK_APP_ID);
    QApplication::setWindowIcon(zorvik::applicationIcon());
    parser.process(app);

    zorvik::MainWindow window(zorvik::display::makeDisplayHooks(), zorvik::operationChoices());
    window.setMachineEditor(zorvik::machineEditor());
    window.jobs().setOpener(zorvik::jobWindowOpener());
    window.jobs().setRecoveryDirectory(recoveryDirectory());
    // Watched before the display switch, so a signal from then on restores it too.
    zorvik::TerminationSignals termination;
    QObject::connect(&termination, &zorvik::TerminationSignals::received, &window, [&window] {
        window.closeWithoutAsking();
        zorvik::closeLikeExit(window);
        QCoreApplication::exit(0);
    });
    if (parser.isSet(screenshot) || parser.isSet(quitWhenShown))
        watchStartup(window, parser.isSet(quitWhenShown), parser.value(screenshot));
    window.show();
    window.activateWindow();
    // Once the window is up, so a question has a window to stand on. A scripted start asks
    // nothing.
    const bool scripted = parser.isSet(screenshot) || parser.isSet(quitWhenShown);
    const QStringList files = parser.positionalArguments();
    QTimer::singleShot(0, &window, [&window, scripted, files] {
        if (!scripted)
            window.jobs().offerRecovery();
        if (!files.isEmpty() && window.jobs().askToSave())
            window.jobs().openFile(files.front());
    });
    return app.exec();
}
