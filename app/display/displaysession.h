// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

#include <cstdint>

namespace zorvik::display {

// The main window's part in the mode switch: 800 x 600 from its load step on, the start-up size
// again from its unload step on, with the display device context held in between.
class DisplaySession {
public:
    explicit DisplaySession(DisplayPlatform &platform);

    // screenWidth and screenHeight: the screen size in pixels before the switch.
    void load(std::int32_t screenWidth, std::int32_t screenHeight);
    // Does nothing unless loaded; so a second call does nothing.
    void unload();

private:
    DisplayPlatform &m_platform;
    std::int32_t m_savedWidth = 0;
    std::int32_t m_savedHeight = 0;
    bool m_loaded = false;
};

} // namespace zorvik::display
