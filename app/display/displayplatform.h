// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace zorvik::display {

// Values of the Win32 display services, which the other backends answer in kind.
inline constexpr std::uint32_t fieldsBitsWidthHeight = 0x1C0000;
inline constexpr std::uint32_t changeFullScreen = 4;
inline constexpr std::int32_t changeSuccessful = 0;
inline constexpr std::int32_t changeRestart = 1;
inline constexpr std::int32_t changeFailed = -1;
inline constexpr std::int32_t changeBadMode = -2;

// The display-change message's lParam: width in the low, height in the high 16 bits.
inline std::uint32_t packSize(std::int32_t x, std::int32_t y)
{
    return (static_cast<std::uint32_t>(y) & 0xFFFFu) << 16 |
           (static_cast<std::uint32_t>(x) & 0xFFFFu);
}

// One display-settings record: the fields the switch sets, and the rest of the platform's own
// record kept as the enumeration left it.
struct DisplaySettings {
    std::uint32_t fields = 0;
    std::uint32_t bitsPerPel = 0;
    std::uint32_t pelsWidth = 0;
    std::uint32_t pelsHeight = 0;
    alignas(8) std::array<std::byte, 512> platformRecord{};
};

// The display services the mode switch uses, one backend per platform: only what every
// platform does. What one platform needs around a change (telling the other programs of it,
// a restart to take it) is its backend's own business.
class DisplayPlatform {
public:
    virtual ~DisplayPlatform() = default;

    virtual void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) = 0;
    // Returns changeSuccessful, changeRestart (the mode takes effect after a restart) or any
    // other value for a refusal.
    virtual std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) = 0;

    // The display device context the main window holds from load to unload.
    virtual void openDisplayContext() = 0;
    virtual std::int32_t colourDepth() = 0;
    virtual void releaseDisplayContext() = 0;
};

} // namespace zorvik::display
