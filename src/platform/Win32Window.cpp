// The Windows side of the demo's windows, behind the same functions as the
// X11 side (X11Window.h, WindowEvents.h, DemoDevice.h's whyNoDemoDevice).
#include "platform/DemoDevice.h"
#include "platform/DemoGeometry.h"
#include "platform/WindowEvents.h"
#include "platform/X11Window.h"

#include <windows.h>

namespace
{
HWND windowOf(irr::IrrlichtDevice* device)
{
    return static_cast<HWND>(device->getVideoDriver()->getExposedVideoData().OpenGLWin32.HWnd);
}

// The engine's window procedure, and ours in front of it that keeps a
// resizable window from becoming smaller than the picture.
WNDPROC engineWindowProcedure = nullptr;

LRESULT CALLBACK keepPictureSize(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO)
    {
        RECT frame = {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT};
        AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE);
        MINMAXINFO* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMinTrackSize.x = frame.right - frame.left;
        limits->ptMinTrackSize.y = frame.bottom - frame.top;
        return 0;
    }
    return CallWindowProcW(engineWindowProcedure, window, message, wParam, lParam);
}
} // namespace

DisplayFacts readDisplayFacts()
{
    DisplayFacts facts;
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    for (DWORD i = 0; EnumDisplaySettingsW(nullptr, i, &mode); ++i)
        facts.has640x480Mode |= mode.dmPelsWidth == SCREEN_WIDTH && mode.dmPelsHeight == SCREEN_HEIGHT;
    facts.activeMonitors = GetSystemMetrics(SM_CMONITORS);
    if (facts.activeMonitors < 1)
        facts.activeMonitors = 1;
    // The primary monitor's size.
    facts.monitorSize = irr::core::dimension2du(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return facts;
}

void showBorderlessFullscreen(irr::IrrlichtDevice* device)
{
    device->getCursorControl()->setVisible(false);
    HWND window = windowOf(device);
    if (!window)
        return;
    // A popup window without frame over the whole primary monitor.
    SetWindowLongPtrW(window, GWL_STYLE, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    SetWindowPos(window, HWND_TOP, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    SetFocus(window);
}

void allowResizing(irr::IrrlichtDevice* device)
{
    device->setResizable(true);
    HWND window = windowOf(device);
    if (!window || engineWindowProcedure)
        return;
    engineWindowProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&keepPictureSize)));
}

// No window manager on Windows resizes a window behind its program's back.
void keepWindowSize(irr::IrrlichtDevice*, irr::u32, irr::u32) {}

void takeFocusUnlessGiven(irr::IrrlichtDevice* device)
{
    // Windows gives a new window of the foreground process the focus; asking
    // again covers a start from a process that was not in the foreground.
    HWND window = windowOf(device);
    if (window && GetForegroundWindow() != window)
        SetForegroundWindow(window);
}

void waitForWindowEvents(irr::IrrlichtDevice*, int timeoutMs)
{
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeoutMs), QS_ALLINPUT);
}

std::string whyNoDemoDevice()
{
    return "the graphics driver offers no such window with OpenGL 2.0";
}
