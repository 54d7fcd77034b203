#pragma once

#include "platform/DemoDevice.h"

#include <string>

// How the demo takes the screen.
enum class DisplayMethod
{
    Automatic,  // fullscreen where the screen really switches to 640 x 480 on a single monitor, else desktop
    Fullscreen, // the demo's own: 640 x 480 with a video mode switch
    Desktop,    // a borderless fullscreen window at the screen's own size, the picture scaled
    Window,     // an ordinary resizable window, the picture scaled
};

// What the X server offers, read before the window opens.
struct DisplayFacts
{
    bool has640x480Mode = false;
    // The server only pretends to switch modes: it lists them, but a 640 x 480
    // fullscreen window is stretched over the whole monitor instead (Xwayland).
    bool modeSwitchEmulated = false;
    int activeMonitors = 1;
    irr::core::dimension2du monitorSize; // the primary monitor's, or the screen's
};

// The window to open, and the line to say when the method asked for cannot be had.
struct DisplayPlan
{
    DisplayMethod method = DisplayMethod::Fullscreen;
    DeviceSettings device;
    std::string notice;
};

// windowSize is the size asked for with Window.
DisplayPlan planDisplay(DisplayMethod asked, irr::core::dimension2du windowSize, bool vsync, const DisplayFacts& facts);
