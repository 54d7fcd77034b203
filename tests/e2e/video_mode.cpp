// Prints the X screen's current video mode, "WIDTHxHEIGHT", as XF86VidMode
// reports it (the mode the demo's fullscreen switches to and back from).
#include <X11/Xlib.h>
#include <X11/extensions/xf86vmode.h>

#include <cstdio>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    int dotClock = 0;
    XF86VidModeModeLine mode = {};
    if (!XF86VidModeGetModeLine(display, DefaultScreen(display), &dotClock, &mode))
        return 1;
    std::printf("%dx%d\n", mode.hdisplay, mode.vdisplay);
    if (mode.privsize > 0)
        XFree(mode.c_private);
    XCloseDisplay(display);
    return 0;
}
