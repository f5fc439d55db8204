// SPDX-License-Identifier: GPL-3.0-or-later
// Drives a top-level window on an X display the way a user would without a window manager:
//   xwindowcontrol wait TITLE     waits until a window with that title is mapped
//   xwindowcontrol close TITLE    asks it to close, as its close box does (WM_DELETE_WINDOW)
//   xwindowcontrol ctrl-q TITLE   gives it the keyboard focus and types Ctrl+Q
//   xwindowcontrol kill TITLE     closes the X connection of the client that made it, as xkill
//                                 does, while the server runs on
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool hasTitle(Display *display, Window window, const std::string &title)
{
    XTextProperty property{};
    if (!XGetTextProperty(display, window, &property,
                          XInternAtom(display, "_NET_WM_NAME", False)) &&
        !XGetWMName(display, window, &property))
        return false;
    const bool same = property.value && std::string(reinterpret_cast<char *>(property.value),
                                                    property.nitems) == title;
    XFree(property.value);
    return same;
}

Window findMapped(Display *display, const std::string &title)
{
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes{};
        if (XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable && hasTitle(display, children[i], title))
            found = children[i];
    }
    XFree(children);
    return found;
}

void sendKey(Display *display, Window window, int type, KeyCode code, unsigned int state)
{
    XKeyEvent event{};
    event.type = type;
    event.display = display;
    event.window = window;
    event.root = DefaultRootWindow(display);
    event.time = CurrentTime;
    event.same_screen = True;
    event.keycode = code;
    event.state = state;
    XSendEvent(display, window, True, type == KeyPress ? KeyPressMask : KeyReleaseMask,
               reinterpret_cast<XEvent *>(&event));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: xwindowcontrol wait|close|ctrl-q|kill TITLE\n");
        return 2;
    }
    const std::string command = argv[1];
    const std::string title = argv[2];
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xwindowcontrol: cannot open the X display\n");
        return 1;
    }
    Window window = 0;
    for (int tries = 0; tries < 600 && !(window = findMapped(display, title)); ++tries)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    if (!window) {
        std::fprintf(stderr, "xwindowcontrol: no window titled \"%s\"\n", title.c_str());
        return 1;
    }
    if (command == "close") {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = long(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display, window, False, NoEventMask, &event);
    } else if (command == "ctrl-q") {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
        XSync(display, False);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        const KeyCode control = XKeysymToKeycode(display, XK_Control_L);
        const KeyCode q = XKeysymToKeycode(display, XK_q);
        sendKey(display, window, KeyPress, control, 0);
        sendKey(display, window, KeyPress, q, ControlMask);
        sendKey(display, window, KeyRelease, q, ControlMask);
        sendKey(display, window, KeyRelease, control, ControlMask);
    } else if (command == "kill") {
        XKillClient(display, window);
    } else if (command != "wait") {
        std::fprintf(stderr, "xwindowcontrol: unknown command \"%s\"\n", command.c_str());
        XCloseDisplay(display);
        return 2;
    }
    XSync(display, False);
    XCloseDisplay(display);
    return 0;
}
