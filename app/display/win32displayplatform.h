// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

namespace zorvik::display {

// The Win32 display and system services of user32, gdi32 and advapi32. A change made tells every
// top-level window of the new mode; one that needs a restart asks the user to reboot.
class Win32DisplayPlatform final : public DisplayPlatform {
public:
    ~Win32DisplayPlatform() override;

    void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) override;
    std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) override;
    void openDisplayContext() override;
    std::int32_t colourDepth() override;
    void releaseDisplayContext() override;

private:
    void *m_dc = nullptr;
};

} // namespace zorvik::display
