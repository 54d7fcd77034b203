#include "WindowSize.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <functional>
#include <thread>

namespace
{
// Polls until the condition holds or two seconds have passed.
bool waitFor(Display* display, const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (std::chrono::steady_clock::now() < deadline)
    {
        XSync(display, False);
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

bool windowManagerRuns(Display* display)
{
    // A window manager is the one client that redirects the root's children.
    XWindowAttributes root;
    XGetWindowAttributes(display, DefaultRootWindow(display), &root);
    return (root.all_event_masks & SubstructureRedirectMask) != 0;
}

// WM_STATE is set by the manager while it manages the window: 1 normal,
// 3 iconic, 0 or no property once withdrawn.
long managedState(Display* display, Window window)
{
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long state = 0;
    if (XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after, &data) ==
            Success &&
        data && count > 0 && format == 32)
        state = *reinterpret_cast<long*>(data);
    if (data)
        XFree(data);
    return state;
}

Window parentOf(Display* display, Window window)
{
    Window root, parent;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count))
        return 0;
    if (children)
        XFree(children);
    return parent;
}

bool hasSize(Display* display, Window window, unsigned width, unsigned height)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.width == static_cast<int>(width) &&
           attributes.height == static_cast<int>(height);
}
} // namespace

void keepWindowSize(irr::IrrlichtDevice* device, irr::u32 width, irr::u32 height)
{
    const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(data.OpenGLLinux.X11Display);
    const Window window = reinterpret_cast<Window>(data.OpenGLLinux.X11Window);
    if (!display || !window || !windowManagerRuns(display))
        return;
    const irr::core::dimension2du size(width, height);

    // Let the manager take the window first, or it could still act on the
    // original map request after the window has been withdrawn.
    waitFor(display, [&] { return managedState(display, window) != 0; });
    if (hasSize(display, window, size.Width, size.Height))
        return;

    XWithdrawWindow(display, window, DefaultScreen(display));
    const Window root = DefaultRootWindow(display);
    waitFor(display, [&] { return managedState(display, window) == 0 && parentOf(display, window) == root; });

    XSetWindowAttributes attributes;
    attributes.override_redirect = True;
    XChangeWindowAttributes(display, window, CWOverrideRedirect, &attributes);
    XMoveResizeWindow(display, window, 0, 0, size.Width, size.Height);
    XMapRaised(display, window);
    waitFor(display, [&] {
        XWindowAttributes now;
        return XGetWindowAttributes(display, window, &now) && now.map_state == IsViewable;
    });
}
