// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "displayplatform.h"

#include <string>
#include <vector>

typedef struct _XDisplay Display;

namespace zorvik::display {

// Mode changes through XRandR on the output that shows the main window. Only the output's own
// modes are offered; the mode and screen size in force at the open of the display context are
// restored exactly when that size is asked for again. The X server tells its clients about a
// change itself and keeps no saved settings, and it never needs a restart.
class X11DisplayPlatform final : public DisplayPlatform {
public:
    // outputName: the RandR output showing the main window; when no output has that name, the
    // primary output, or else the first one showing a picture, is used.
    X11DisplayPlatform(Display *display, std::string outputName);
    ~X11DisplayPlatform() override;
    X11DisplayPlatform(const X11DisplayPlatform &) = delete;
    X11DisplayPlatform &operator=(const X11DisplayPlatform &) = delete;

    void enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record) override;
    std::int32_t changeSettings(const DisplaySettings &record, std::uint32_t flags) override;
    void openDisplayContext() override;
    std::int32_t colourDepth() override;
    void releaseDisplayContext() override;

    struct CrtcState {
        unsigned long mode = 0;
        int x = 0;
        int y = 0;
        unsigned int width = 0;
        unsigned int height = 0;
        unsigned short rotation = 1;
        std::vector<unsigned long> outputs;
    };
    struct ScreenSize {
        int width = 0;
        int height = 0;
        int widthMm = 0;
        int heightMm = 0;

        bool operator==(const ScreenSize &) const = default;
    };

private:
    bool locateOutput();
    ScreenSize currentScreenSize() const;
    std::int32_t apply(const CrtcState &target, const ScreenSize &screen);
    void holdForExit(bool changed);
    static void restoreAtExit();

    Display *m_display;
    std::string m_displayName; // for a connection of its own when the shared one is gone
    std::string m_outputName;
    bool m_open = false;
    int m_screen = 0;
    unsigned long m_root = 0;
    unsigned long m_output = 0;
    unsigned long m_crtc = 0;
    CrtcState m_startCrtc;
    ScreenSize m_startScreen;
};

} // namespace zorvik::display
