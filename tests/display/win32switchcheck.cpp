// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the main window's display steps through the Win32 backend without Qt: switches to
// 800 x 600, reports, waits for a line on standard input, restores and reports again. A
// top-level window whose thread never takes its messages is there all along, as a hung
// application would be: the display-change broadcasts must not wait for it for ever. Each change
// is printed with its flags, and each report gives the saved settings beside the current ones, so
// that a switch that writes the user's saved settings shows.
#include "displaysession.h"
#include "win32displayplatform.h"

#include <cstdio>
#include <windows.h>

namespace {

using namespace zorvik::display;

// The backend, with every change of the settings printed before it is made.
class PrintedChanges final : public DisplayPlatform {
public:
    void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) override
    {
        m_win32.enumerateSettings(modeNumber, record);
    }
    std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) override
    {
        std::printf("change %lux%lu flags %lu\n", static_cast<unsigned long>(record.pelsWidth),
                    static_cast<unsigned long>(record.pelsHeight),
                    static_cast<unsigned long>(flags));
        std::fflush(stdout);
        return m_win32.changeSettings(record, flags);
    }
    void openDisplayContext() override { m_win32.openDisplayContext(); }
    std::int32_t colourDepth() override { return m_win32.colourDepth(); }
    void releaseDisplayContext() override { m_win32.releaseDisplayContext(); }

private:
    Win32DisplayPlatform m_win32;
};

DWORD WINAPI hungWindowThread(void *ready)
{
    CreateWindowExA(0, "STATIC", "hung", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                    nullptr, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    Sleep(INFINITE);
    return 0;
}

void startHungWindow()
{
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(CreateThread(nullptr, 0, hungWindowThread, ready, 0, nullptr));
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

void report(const char *step)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    DEVMODEA saved{};
    saved.dmSize = sizeof saved;
    if (!EnumDisplaySettingsA(nullptr, ENUM_REGISTRY_SETTINGS, &saved))
        saved.dmPelsWidth = saved.dmPelsHeight = 0;
    std::printf("%s %lux%lux%lu saved %lux%lu\n", step, mode.dmPelsWidth, mode.dmPelsHeight,
                mode.dmBitsPerPel, saved.dmPelsWidth, saved.dmPelsHeight);
    std::fflush(stdout);
}

} // namespace

int main()
{
    PrintedChanges platform;
    DisplaySession session(platform);
    startHungWindow();
    report("start");
    session.load(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    report("switched");
    char line[64];
    if (!std::fgets(line, sizeof line, stdin))
        std::printf("no go-ahead on standard input; restoring\n");
    session.unload();
    report("restored");
    return 0;
}
