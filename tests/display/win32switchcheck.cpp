// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the main window's display steps through the Win32 backend without Qt: switches to
// 800 x 600, reports, waits for a line on standard input, restores and reports again. A
// top-level window whose thread never takes its messages is there all along, as a hung
// application would be: the display-change broadcasts must not wait for it for ever.
#include "displaysession.h"
#include "win32displayplatform.h"

#include <cstdio>
#include <windows.h>

namespace {

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
    std::printf("%s %lux%lux%lu\n", step, mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel);
    std::fflush(stdout);
}

} // namespace

int main()
{
    zorvik::display::Win32DisplayPlatform platform;
    zorvik::display::DisplaySession session(platform);
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
