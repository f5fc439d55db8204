// SPDX-License-Identifier: GPL-3.0-or-later
#include "displayswitch.h"

#include "refuseddisplayplatform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <limits>

#if ZORVIK_DISPLAY_X11
#include "x11displayplatform.h"
#include <QtGui/qguiapplication_platform.h>
#endif
#ifdef Q_OS_WIN
#include "win32displayplatform.h"
#endif

namespace zorvik::display {

std::int32_t roundedPixels(double value)
{
    if (std::isnan(value))
        return 0;
    constexpr double low = std::numeric_limits<std::int32_t>::min();
    constexpr double high = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::lround(std::clamp(value, low, high)));
}

DisplaySwitch::DisplaySwitch(PlatformFactory factory) : m_factory(std::move(factory)) {}

DisplaySwitch::~DisplaySwitch()
{
    // A main window destroyed without its unload step still gives the user the screen back,
    // as long as the platform connection it needs is still there.
    if (QCoreApplication::instance())
        unload();
}

void DisplaySwitch::load(QWidget *mainWindow)
{
    if (m_session)
        return;
    QScreen *screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (screen) {
        const QRect geometry = screen->geometry();
        width = roundedPixels(geometry.width() * screen->devicePixelRatio());
        height = roundedPixels(geometry.height() * screen->devicePixelRatio());
    }
    m_platform = m_factory(mainWindow);
    if (!m_platform)
        return;
    m_session.emplace(*m_platform);
    m_session->load(width, height);
}

void DisplaySwitch::unload()
{
    if (!m_session)
        return;
    m_session->unload();
    m_session.reset();
    m_platform.reset();
}

PlatformFactory platformFactory()
{
    return [](QWidget *mainWindow) -> std::unique_ptr<DisplayPlatform> {
        QScreen *screen = mainWindow ? mainWindow->screen() : QGuiApplication::primaryScreen();
        [[maybe_unused]] const QString platform = QGuiApplication::platformName();
#if ZORVIK_DISPLAY_X11
        if (platform == QLatin1String("xcb")) {
            if (auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
                // Qt names each xcb screen after the RandR output that shows it.
                return std::make_unique<X11DisplayPlatform>(
                    x11->display(), screen ? screen->name().toStdString() : std::string());
            }
        }
#endif
#ifdef Q_OS_WIN
        if (platform == QLatin1String("windows"))
            return std::make_unique<Win32DisplayPlatform>();
#endif
        return std::make_unique<RefusedDisplayPlatform>(screen ? screen->depth() : 0);
    };
}

std::unique_ptr<DisplayHooks> makeDisplayHooks()
{
    return std::make_unique<DisplaySwitch>(platformFactory());
}

} // namespace zorvik::display
