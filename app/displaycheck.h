// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace zorvik {

// Whether Qt can reach a display. Where X11 or Wayland is the platform, it needs one of these
// variables (or a platform chosen outright); Windows and macOS always have their own display.
inline bool hasDisplay(bool xOrWaylandPlatform,
                       const std::function<const char *(const char *)> &environment)
{
    if (!xOrWaylandPlatform)
        return true;
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = environment(name);
        if (value && *value)
            return true;
    }
    return false;
}

} // namespace zorvik
