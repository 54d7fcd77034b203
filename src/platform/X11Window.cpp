#include "platform/X11Window.h"

#include "platform/DemoDevice.h"
#include "platform/DemoGeometry.h"
#include "platform/WindowEvents.h"

#include <GL/glx.h>
#include <poll.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xrandr.h>
#include <X11/extensions/xf86vmode.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

namespace
{
using Milliseconds = std::chrono::milliseconds;

// Polls until the condition holds or the time (two seconds unless given) has passed.
bool waitFor(Display* display, const std::function<bool()>& condition, Milliseconds patience = Milliseconds(2000))
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
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

// Whether the window manager announces the fullscreen state (EWMH).
bool managerOffersFullscreen(Display* display)
{
    const Atom supported = XInternAtom(display, "_NET_SUPPORTED", False);
    const Atom fullscreen = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    bool offered = false;
    if (XGetWindowProperty(display, DefaultRootWindow(display), supported, 0, 4096, False, XA_ATOM, &type, &format,
                           &count, &after, &data) == Success &&
        data && format == 32)
    {
        const Atom* atoms = reinterpret_cast<Atom*>(data);
        for (unsigned long i = 0; i < count && !offered; ++i)
            offered = atoms[i] == fullscreen;
    }
    if (data)
        XFree(data);
    return offered;
}

bool isViewable(Display* display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

Window focusedWindow(Display* display)
{
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    return focus;
}

// How long a compositor's window manager takes at most to take back a focus it did not give.
constexpr Milliseconds TAKEN_BACK_WITHIN{250};

// Xwayland names its RandR outputs XWAYLAND0, XWAYLAND1, ...; newer
// versions also announce an extension of that name.
bool isXwayland(Display* display)
{
    int opcode, eventBase, errorBase;
    if (XQueryExtension(display, "XWAYLAND", &opcode, &eventBase, &errorBase))
        return true;
    bool named = false;
    XRRScreenResources* resources = XRRGetScreenResources(display, DefaultRootWindow(display));
    for (int i = 0; resources && i < resources->noutput && !named; ++i)
    {
        XRROutputInfo* output = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        named = output && std::strncmp(output->name, "XWAYLAND", 8) == 0;
        if (output)
            XRRFreeOutputInfo(output);
    }
    if (resources)
        XRRFreeScreenResources(resources);
    return named;
}

struct DeviceWindow
{
    Display* display = nullptr;
    Window window = 0;

    explicit DeviceWindow(irr::IrrlichtDevice* device)
    {
        const irr::video::SExposedVideoData& data = device->getVideoDriver()->getExposedVideoData();
        display = static_cast<Display*>(data.OpenGLLinux.X11Display);
        window = reinterpret_cast<Window>(data.OpenGLLinux.X11Window);
    }
    explicit operator bool() const { return display && window; }
};
} // namespace

DisplayFacts readDisplayFacts()
{
    DisplayFacts facts;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return facts;
    const int screen = DefaultScreen(display);
    facts.monitorSize = irr::core::dimension2du(DisplayWidth(display, screen), DisplayHeight(display, screen));

    int eventBase, errorBase;
    if (XF86VidModeQueryExtension(display, &eventBase, &errorBase))
    {
        int count = 0;
        XF86VidModeModeInfo** modes = nullptr;
        if (XF86VidModeGetAllModeLines(display, screen, &count, &modes))
        {
            for (int i = 0; i < count; ++i)
                facts.has640x480Mode |= modes[i]->hdisplay == SCREEN_WIDTH && modes[i]->vdisplay == SCREEN_HEIGHT;
            XFree(modes);
        }
    }

    // Monitors are RandR 1.5's.
    int major = 0, minor = 0;
    const bool randr = XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor);
    // Xwayland lists the usual modes, but a switch only scales the one
    // fullscreen window up to the whole output, distorted and under the panel.
    facts.modeSwitchEmulated = randr && isXwayland(display);
    if (randr && (major > 1 || (major == 1 && minor >= 5)))
    {
        int count = 0;
        XRRMonitorInfo* monitors = XRRGetMonitors(display, RootWindow(display, screen), True, &count);
        if (monitors && count > 0)
        {
            facts.activeMonitors = count;
            const XRRMonitorInfo* primary = &monitors[0];
            for (int i = 0; i < count; ++i)
                if (monitors[i].primary)
                    primary = &monitors[i];
            facts.monitorSize = irr::core::dimension2du(primary->width, primary->height);
        }
        if (monitors)
            XRRFreeMonitors(monitors);
    }
    XCloseDisplay(display);
    return facts;
}

void showBorderlessFullscreen(irr::IrrlichtDevice* device)
{
    device->getCursorControl()->setVisible(false);
    const DeviceWindow target(device);
    if (!target)
        return;
    Display* display = target.display;
    if (!windowManagerRuns(display))
    {
        // The window already covers the screen; nobody else gives it the
        // keyboard (its map request went first, so it can take it now).
        XSetInputFocus(display, target.window, RevertToParent, CurrentTime);
        XFlush(display);
        return;
    }
    // A manager without the fullscreen state keeps the window at the size it was made with.
    if (!managerOffersFullscreen(display))
        return;
    // The manager must have taken the window before it is asked to change its state.
    waitFor(display, [&] { return managedState(display, target.window) != 0; });
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = target.window;
    event.xclient.message_type = XInternAtom(display, "_NET_WM_STATE", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1; // add
    event.xclient.data.l[1] = static_cast<long>(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False));
    event.xclient.data.l[3] = 1; // asked by an application
    XSendEvent(display, DefaultRootWindow(display), False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
}

void allowResizing(irr::IrrlichtDevice* device)
{
    const DeviceWindow target(device);
    if (!target)
        return;
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PMinSize;
    hints->min_width = SCREEN_WIDTH;
    hints->min_height = SCREEN_HEIGHT;
    XSetWMNormalHints(target.display, target.window, hints);
    XFree(hints);
    XFlush(target.display);
}

void keepWindowSize(irr::IrrlichtDevice* device, irr::u32 width, irr::u32 height)
{
    const DeviceWindow target(device);
    Display* display = target.display;
    const Window window = target.window;
    if (!target || !windowManagerRuns(display))
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

void takeFocusUnlessGiven(irr::IrrlichtDevice* device)
{
    const DeviceWindow target(device);
    Display* display = target.display;
    const Window window = target.window;
    const auto shown = [&] { return isViewable(display, window); };
    const auto focused = [&] { return focusedWindow(display) == window; };
    const auto notFocused = [&] { return !focused(); };
    // Only a window that is shown can have the focus.
    if (!target || !waitFor(display, shown) || waitFor(display, focused, FOCUS_GRACE))
        return;
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    // Xwayland's window manager hands the focus straight back: to the window
    // its compositor chose, or to none where the compositor has no keyboard.
    if (!waitFor(display, notFocused, TAKEN_BACK_WITHIN))
        return;
    const Window focus = focusedWindow(display);
    if (focus != None && focus != PointerRoot)
        return; // another window has it: the demo waits for its turn
    // No window has the keyboard, none is in front of the demo's: the engine
    // is told what the server did not, that its window is the active one.
    // Sent with no event mask, the event goes to the window's own client
    // only, the engine.
    XEvent focusIn = {};
    focusIn.xfocus.type = FocusIn;
    focusIn.xfocus.window = window;
    focusIn.xfocus.mode = NotifyNormal;
    focusIn.xfocus.detail = NotifyNonlinear;
    XSendEvent(display, window, False, NoEventMask, &focusIn);
    XFlush(display);
}

void waitForWindowEvents(irr::IrrlichtDevice* device, int timeoutMs)
{
    const irr::video::SExposedVideoData& video = device->getVideoDriver()->getExposedVideoData();
    Display* display = static_cast<Display*>(video.OpenGLLinux.X11Display);
    pollfd events = {display ? ConnectionNumber(display) : -1, POLLIN, 0};
    poll(&events, 1, timeoutMs);
}

std::string whyNoDemoDevice()
{
    const char* name = std::getenv("DISPLAY");
    if (!name || !*name)
        return "no X display (DISPLAY is not set)";
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return std::string("cannot connect to the X display ") + name;
    int errorBase = 0, eventBase = 0;
    const bool glx = glXQueryExtension(display, &errorBase, &eventBase);
    XCloseDisplay(display);
    if (!glx)
        return std::string("the X display ") + name + " has no OpenGL (no GLX extension)";
    return std::string("the X display ") + name + " offers no such window with OpenGL";
}
