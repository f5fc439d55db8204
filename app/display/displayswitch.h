// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/displayhooks.h"
#include "displayplatform.h"
#include "displaysession.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace zorvik::display {

// Makes the backend for the screen that holds the main window.
using PlatformFactory = std::function<std::unique_ptr<DisplayPlatform>(QWidget *mainWindow)>;

// The main window's display hooks: the switch to 800 x 600 in its load step, the restore of the
// start-up size in its unload step.
class DisplaySwitch final : public DisplayHooks {
public:
    explicit DisplaySwitch(PlatformFactory factory);
    ~DisplaySwitch() override;

    void load(QWidget *mainWindow) override;
    void unload() override;

private:
    PlatformFactory m_factory;
    std::unique_ptr<DisplayPlatform> m_platform;
    std::optional<DisplaySession> m_session;
};

// A scaled screen size in whole pixels: halves away from zero, clamped to the 32-bit range, 0 for
// NaN.
std::int32_t roundedPixels(double value);

// The backend for QGuiApplication::platformName(): XRandR on "xcb", Win32 on "windows", and a
// refusing one anywhere else.
PlatformFactory platformFactory();

std::unique_ptr<DisplayHooks> makeDisplayHooks();

} // namespace zorvik::display
