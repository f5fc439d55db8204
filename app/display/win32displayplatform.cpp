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
    return ChangeDisplaySettingsA(&mode, flags);
}

void Win32DisplayPlatform::sendMessage(std::uintptr_t window, std::uint32_t message,
                                       std::uintptr_t wParam, std::uint32_t lParam)
{
    // A broadcast waits on every top-level window in the system; one hung window would hang
    // the switch, and with it the application's start and its close.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam),
                        static_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG, sendTimeoutMs, &result);
}

std::int32_t Win32DisplayPlatform::messageBox(const char *text, const char *title,
                                              std::uint32_t flags)
{
    return MessageBoxA(nullptr, text, title, flags);
}

void Win32DisplayPlatform::exitWindows(std::uint32_t flags)
{
    enableShutdownPrivilege();
    ExitWindowsEx(flags, 0);
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
