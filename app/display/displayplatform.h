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
inline constexpr std::uintptr_t broadcastWindow = 0xFFFF;
inline constexpr std::uint32_t displayChangeMessage = 0x7E;
inline constexpr std::uint32_t yesNoSystemModal = 0x1004;
inline constexpr std::int32_t answerYes = 6;
inline constexpr std::int32_t answerNo = 7;
inline constexpr std::uint32_t exitReboot = 2;

// One display-settings record: the fields the switch sets, and the rest of the platform's own
// record kept as the enumeration left it.
struct DisplaySettings {
    std::uint32_t fields = 0;
    std::uint32_t bitsPerPel = 0;
    std::uint32_t pelsWidth = 0;
    std::uint32_t pelsHeight = 0;
    alignas(8) std::array<std::byte, 512> platformRecord{};
};

// The display and system services the mode switch uses, one backend per platform.
class DisplayPlatform {
public:
    virtual ~DisplayPlatform() = default;

    virtual void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) = 0;
    // Returns changeSuccessful, changeRestart or any other value for a refusal.
    virtual std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) = 0;
    virtual void sendMessage(std::uintptr_t window, std::uint32_t message, std::uintptr_t wParam,
                             std::uint32_t lParam) = 0;
    // Returns answerYes or answerNo.
    virtual std::int32_t messageBox(const char *text, const char *title, std::uint32_t flags) = 0;
    virtual void exitWindows(std::uint32_t flags) = 0;

    // The display device context the main window holds from load to unload.
    virtual void openDisplayContext() = 0;
    virtual std::int32_t colourDepth() = 0;
    virtual void releaseDisplayContext() = 0;
};

} // namespace zorvik::display
