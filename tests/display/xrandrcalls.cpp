// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the application by the xcb checks: writes one line for every XRandR request
// that changes the screen to the file named by ZORVIK_XRANDR_LOG, then makes the request.
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>

namespace {

template <typename Function> Function next(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

template <typename... Args> void note(const char *format, Args... args)
{
    const char *path = std::getenv("ZORVIK_XRANDR_LOG");
    if (!path)
        return;
    if (std::FILE *log = std::fopen(path, "a")) {
        std::fprintf(log, format, args...);
        std::fclose(log);
    }
}

} // namespace

extern "C" Status XRRSetCrtcConfig(Display *display, XRRScreenResources *resources, RRCrtc crtc,
                                   Time timestamp, int x, int y, RRMode mode, Rotation rotation,
                                   RROutput *outputs, int outputCount)
{
    note("XRRSetCrtcConfig mode=%lu x=%d y=%d\n", static_cast<unsigned long>(mode), x, y);
    static const auto real = next<decltype(&XRRSetCrtcConfig)>("XRRSetCrtcConfig");
    return real(display, resources, crtc, timestamp, x, y, mode, rotation, outputs, outputCount);
}

extern "C" void XRRSetScreenSize(Display *display, Window window, int width, int height,
                                 int widthMm, int heightMm)
{
    note("XRRSetScreenSize %dx%d\n", width, height);
    static const auto real = next<decltype(&XRRSetScreenSize)>("XRRSetScreenSize");
    real(display, window, width, height, widthMm, heightMm);
}
