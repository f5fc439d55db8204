// SPDX-License-Identifier: GPL-3.0-or-later
#include "x11displayplatform.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace zorvik::display {

namespace {

using Crtc = X11DisplayPlatform::CrtcState;
using Screen = X11DisplayPlatform::ScreenSize;

bool sideways(unsigned short rotation)
{
    return rotation & (RR_Rotate_90 | RR_Rotate_270);
}

bool readCrtc(Display *display, XRRScreenResources *resources, RRCrtc crtc, Crtc &state)
{
    XRRCrtcInfo *info = XRRGetCrtcInfo(display, resources, crtc);
    if (!info)
        return false;
    state.mode = info->mode;
    state.x = info->x;
    state.y = info->y;
    state.width = info->width;
    state.height = info->height;
    state.rotation = info->rotation;
    state.outputs.assign(info->outputs, info->outputs + info->noutput);
    XRRFreeCrtcInfo(info);
    return true;
}

const XRRModeInfo *findMode(XRRScreenResources *resources, RRMode id)
{
    for (int i = 0; i < resources->nmode; ++i) {
        if (resources->modes[i].id == id)
            return &resources->modes[i];
    }
    return nullptr;
}

int scaled(int value, int numerator, int denominator)
{
    if (denominator <= 0)
        return value;
    return static_cast<int>(std::lround(double(value) * numerator / denominator));
}

template <auto release> struct Release {
    template <typename T> void operator()(T *value) const { release(value); }
};
using Resources = std::unique_ptr<XRRScreenResources, Release<XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, Release<XRRFreeOutputInfo>>;

Resources screenResources(Display *display, Window root)
{
    return Resources(XRRGetScreenResourcesCurrent(display, root));
}

OutputInfo outputInfo(Display *display, const Resources &resources, RROutput output)
{
    return OutputInfo(XRRGetOutputInfo(display, resources.get(), output));
}

} // namespace

namespace {

// The platform whose change of mode is in force, for an exit that skips the unload step.
X11DisplayPlatform *changedAtExit = nullptr;

} // namespace

X11DisplayPlatform::X11DisplayPlatform(Display *display, std::string outputName)
    : m_display(display), m_displayName(display ? DisplayString(display) : ""),
      m_outputName(std::move(outputName))
{}

X11DisplayPlatform::~X11DisplayPlatform()
{
    if (changedAtExit == this)
        changedAtExit = nullptr;
}

// Qt ends the process with exit() when its X connection breaks, as when xkill closes it while
// the server runs on; the unload step never runs then. The mode in force is put back at exit
// through a connection of its own (RandR ids belong to the server, not to a connection). When
// the server itself is gone there is nothing to restore, and the connection is refused at once.
void X11DisplayPlatform::holdForExit(bool changed)
{
    [[maybe_unused]] static const bool registered = (std::atexit(restoreAtExit), true);
    if (changed)
        changedAtExit = this;
    else if (changedAtExit == this)
        changedAtExit = nullptr;
}

void X11DisplayPlatform::restoreAtExit()
{
    X11DisplayPlatform *platform = std::exchange(changedAtExit, nullptr);
    if (!platform)
        return;
    Display *own = XOpenDisplay(platform->m_displayName.c_str());
    if (!own)
        return;
    Display *shared = std::exchange(platform->m_display, own);
    platform->apply(platform->m_startCrtc, platform->m_startScreen);
    platform->m_display = shared;
    XCloseDisplay(own);
}

bool X11DisplayPlatform::locateOutput()
{
    int eventBase = 0;
    int errorBase = 0;
    int major = 0;
    int minor = 0;
    if (!m_display || !XRRQueryExtension(m_display, &eventBase, &errorBase) ||
        !XRRQueryVersion(m_display, &major, &minor) || major < 1 || (major == 1 && minor < 2))
        return false;

    auto pick = [this](int screen, auto accept) {
        const Window root = RootWindow(m_display, screen);
        const Resources resources = screenResources(m_display, root);
        if (!resources)
            return false;
        for (int i = 0; i < resources->noutput; ++i) {
            const RROutput output = resources->outputs[i];
            const OutputInfo info = outputInfo(m_display, resources, output);
            if (!info || info->crtc == None || !accept(output, *info))
                continue;
            if (!readCrtc(m_display, resources.get(), info->crtc, m_startCrtc) ||
                m_startCrtc.mode == None)
                continue;
            m_screen = screen;
            m_root = root;
            m_output = output;
            m_crtc = info->crtc;
            return true;
        }
        return false;
    };

    for (int screen = 0; screen < ScreenCount(m_display); ++screen) {
        if (pick(screen, [this](RROutput, const XRROutputInfo &info) {
                return m_outputName == std::string(info.name, info.nameLen);
            }))
            return true;
    }
    const int screen = DefaultScreen(m_display);
    const RROutput primary = XRRGetOutputPrimary(m_display, RootWindow(m_display, screen));
    if (pick(screen,
             [primary](RROutput output, const XRROutputInfo &) { return output == primary; }))
        return true;
    return pick(screen, [](RROutput, const XRROutputInfo &) { return true; });
}

X11DisplayPlatform::ScreenSize X11DisplayPlatform::currentScreenSize() const
{
    Window root = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    XGetGeometry(m_display, m_root, &root, &x, &y, &width, &height, &border, &depth);
    Screen size;
    size.width = int(width);
    size.height = int(height);
    // Xlib's own figures are those of the connection's start; millimetres scale with pixels.
    size.widthMm =
        scaled(DisplayWidthMM(m_display, m_screen), size.width, DisplayWidth(m_display, m_screen));
    size.heightMm = scaled(DisplayHeightMM(m_display, m_screen), size.height,
                           DisplayHeight(m_display, m_screen));
    return size;
}

void X11DisplayPlatform::openDisplayContext()
{
    m_open = locateOutput();
    if (m_open)
        m_startScreen = currentScreenSize();
}

std::int32_t X11DisplayPlatform::colourDepth()
{
    return m_display ? DefaultDepth(m_display, m_screen) : 0;
}

void X11DisplayPlatform::releaseDisplayContext()
{
    m_open = false;
}

void X11DisplayPlatform::enumerateSettings(std::uint32_t modeNumber, DisplaySettings &record)
{
    if (!m_open)
        return;
    const Resources resources = screenResources(m_display, m_root);
    if (!resources)
        return;
    const OutputInfo info = outputInfo(m_display, resources, m_output);
    if (!info || modeNumber >= std::uint32_t(info->nmode))
        return;
    if (const XRRModeInfo *mode = findMode(resources.get(), info->modes[modeNumber])) {
        record.fields = fieldsBitsWidthHeight;
        record.bitsPerPel = std::uint32_t(colourDepth());
        record.pelsWidth = mode->width;
        record.pelsHeight = mode->height;
    }
}

// The X server keeps no saved settings: every change lasts until the next, whatever the flags.
// It applies a mode at once or refuses it, and itself tells every client that asked
// (RRScreenChangeNotify).
std::int32_t X11DisplayPlatform::changeSettings(const DisplaySettings &record, std::uint32_t)
{
    if (!m_open || record.bitsPerPel != std::uint32_t(colourDepth()))
        return changeBadMode;
    if (record.pelsWidth == m_startCrtc.width && record.pelsHeight == m_startCrtc.height) {
        const std::int32_t result = apply(m_startCrtc, m_startScreen);
        if (result == changeSuccessful)
            holdForExit(false);
        return result;
    }

    const Resources resources = screenResources(m_display, m_root);
    if (!resources)
        return changeFailed;
    const OutputInfo info = outputInfo(m_display, resources, m_output);
    Crtc target;
    if (!info || !readCrtc(m_display, resources.get(), m_crtc, target))
        return changeFailed;
    const bool turned = sideways(target.rotation);
    const XRRModeInfo *chosen = nullptr;
    for (int i = 0; i < info->nmode && !chosen; ++i) {
        const XRRModeInfo *mode = findMode(resources.get(), info->modes[i]);
        if (!mode || (mode->modeFlags & (RR_Interlace | RR_DoubleScan)))
            continue;
        const unsigned int width = turned ? mode->height : mode->width;
        const unsigned int height = turned ? mode->width : mode->height;
        if (width == record.pelsWidth && height == record.pelsHeight)
            chosen = mode;
    }
    if (!chosen)
        return changeBadMode;
    if (target.outputs.empty())
        target.outputs.push_back(m_output);
    target.mode = chosen->id;
    target.width = record.pelsWidth;
    target.height = record.pelsHeight;

    // The screen still has to hold every other output's picture.
    Screen screen;
    screen.width = target.x + int(target.width);
    screen.height = target.y + int(target.height);
    for (int i = 0; i < resources->ncrtc; ++i) {
        Crtc other;
        if (resources->crtcs[i] == m_crtc ||
            !readCrtc(m_display, resources.get(), resources->crtcs[i], other) || other.mode == None)
            continue;
        screen.width = std::max(screen.width, other.x + int(other.width));
        screen.height = std::max(screen.height, other.y + int(other.height));
    }
    screen.widthMm = scaled(m_startScreen.widthMm, screen.width, m_startScreen.width);
    screen.heightMm = scaled(m_startScreen.heightMm, screen.height, m_startScreen.height);
    const std::int32_t result = apply(target, screen);
    if (result == changeSuccessful)
        holdForExit(true);
    return result;
}

std::int32_t X11DisplayPlatform::apply(const Crtc &target, const Screen &screen)
{
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
    if (!XRRGetScreenSizeRange(m_display, m_root, &minWidth, &minHeight, &maxWidth, &maxHeight) ||
        screen.width < minWidth || screen.height < minHeight || screen.width > maxWidth ||
        screen.height > maxHeight)
        return changeBadMode;

    const Resources resources = screenResources(m_display, m_root);
    Crtc before;
    if (!resources || !readCrtc(m_display, resources.get(), m_crtc, before))
        return changeFailed;
    const Screen screenBefore = currentScreenSize();

    auto setCrtc = [&](const Crtc &state) {
        std::vector<RROutput> outputs(state.outputs.begin(), state.outputs.end());
        return XRRSetCrtcConfig(m_display, resources.get(), m_crtc, CurrentTime, state.x, state.y,
                                state.mode, state.rotation, outputs.data(),
                                int(outputs.size())) == RRSetConfigSuccess;
    };
    auto setScreen = [&](const Screen &size) {
        XRRSetScreenSize(m_display, m_root, size.width, size.height, size.widthMm, size.heightMm);
    };

    // The screen must hold the picture at every moment: grow it before, shrink it after.
    Screen roomy = screen;
    roomy.width = std::max(screen.width, screenBefore.width);
    roomy.height = std::max(screen.height, screenBefore.height);
    Screen current = screenBefore;
    if (roomy.width != screenBefore.width || roomy.height != screenBefore.height) {
        setScreen(roomy);
        current = roomy;
    }
    const bool crtcSet = setCrtc(target);
    if (crtcSet && screen != current)
        setScreen(screen);
    XSync(m_display, False);

    const Screen after = currentScreenSize();
    Crtc now;
    if (crtcSet && after.width == screen.width && after.height == screen.height &&
        readCrtc(m_display, resources.get(), m_crtc, now) && now.mode == target.mode)
        return changeSuccessful;

    // Put back what was there rather than leave half a change.
    setScreen(roomy);
    setCrtc(before);
    setScreen(screenBefore);
    XSync(m_display, False);
    return changeFailed;
}

} // namespace zorvik::display
