// SPDX-License-Identifier: GPL-3.0-or-later
#include "changeres.h"

namespace zorvik::display {

void changeRes(DisplayPlatform &platform, std::int32_t x, std::int32_t y, std::int32_t bits)
{
    DisplaySettings record;
    platform.enumerateSettings(0, record);
    record.fields = fieldsBitsWidthHeight;
    record.pelsWidth = static_cast<std::uint32_t>(x);
    record.pelsHeight = static_cast<std::uint32_t>(y);
    record.bitsPerPel = static_cast<std::uint32_t>(bits);

    // Full screen, for this session only: the user's saved settings are never written, so a
    // crash, a kill or a power cut while the mode is switched leaves the next session's mode as
    // the user set it.
    platform.changeSettings(record, changeFullScreen);
}

} // namespace zorvik::display
