// SPDX-License-Identifier: GPL-3.0-or-later
#include "win32displayplatform.h"

#include <cstring>
#include <windows.h>

namespace zorvik::display {

namespace {

static_assert(sizeof(DEVMODEA) <= sizeof(DisplaySettings::platformRecord));

// How long a window that is not yet known to be hung may take over the display-change message.
constexpr UINT sendTimeoutMs = 5000;

DEVMODEA toDevMode(const DisplaySettings &record)
{
    DEVMODEA mode;
    std::memcpy(&mode, record.platformRecord.data(), sizeof mode);
    mode.dmSize = sizeof mode;
    mode.dmDriverExtra = 0;
    mode.dmFields = record.fields;
    mode.dmBitsPerPel = record.bitsPerPel;
    mode.dmPelsWidth = record.pelsWidth;
    mode.dmPelsHeight = record.pelsHeight;
    return mode;
}

// A reboot is refused to a process that has not enabled its shutdown privilege.
void enableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
        return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid))
        AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
}

} // namespace

Win32DisplayPlatform::~Win32DisplayPlatform()
{
    releaseDisplayContext();
}

void Win32DisplayPlatform::enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record)
{
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, modeNumber, &mode);
    std::memcpy(record.platformRecord.data(), &mode, sizeof mode);
    record.fields = mode.dmFields;
    record.bitsPerPel = mode.dmBitsPerPel;
    record.pelsWidth = mode.dmPelsWidth;
    record.pelsHeight = mode.dmPelsHeight;
}

std::int32_t Win32DisplayPlatform::changeSettings(const DisplaySettings &record,
                                                  std::uint32_t flags)
{
    DEVMODEA mode = toDevMode(record);
    const LONG result = ChangeDisplaySettingsA(&mode, flags);
    if (result == DISP_CHANGE_SUCCESSFUL) {
        // A broadcast waits on every top-level window in the system; one hung window would hang
        // the switch, and with it the application's start and its close.
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(
            HWND_BROADCAST, WM_DISPLAYCHANGE, record.bitsPerPel,
            static_cast<LPARAM>(packSize(static_cast<std::int32_t>(record.pelsWidth),
                                         static_cast<std::int32_t>(record.pelsHeight))),
            SMTO_ABORTIFHUNG, sendTimeoutMs, &answer);
    } else if (result == DISP_CHANGE_RESTART) {
        if (MessageBoxA(nullptr, "You've to reboot", "Info", MB_YESNO | MB_SYSTEMMODAL) == IDYES) {
            enableShutdownPrivilege();
            ExitWindowsEx(EWX_REBOOT, 0);
        }
    }
    return result;
}

void Win32DisplayPlatform::openDisplayContext()
{
    releaseDisplayContext();
    m_dc = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
}

std::int32_t Win32DisplayPlatform::colourDepth()
{
    return GetDeviceCaps(static_cast<HDC>(m_dc), BITSPIXEL);
}

void Win32DisplayPlatform::releaseDisplayContext()
{
    if (m_dc)
        DeleteDC(static_cast<HDC>(m_dc));
    m_dc = nullptr;
}

} // namespace zorvik::display
