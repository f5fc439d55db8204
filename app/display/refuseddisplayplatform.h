// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

namespace zorvik::display {

// A platform without display-mode services (Wayland, offscreen): every mode change is refused,
// so the application runs at the size the screen has.
class RefusedDisplayPlatform final : public DisplayPlatform {
public:
    explicit RefusedDisplayPlatform(std::int32_t depth) : m_depth(depth) {}

    void enumerateSettings(std::uint32_t, DisplaySettings &) override {}
    std::int32_t changeSettings(const DisplaySettings &, std::uint32_t) override
    {
        return changeBadMode;
    }
    void openDisplayContext() override {}
    std::int32_t colourDepth() override { return m_depth; }
    void releaseDisplayContext() override {}

private:
    std::int32_t m_depth;
};

} // namespace zorvik::display
