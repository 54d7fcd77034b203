#pragma once

#include "platform/DisplayPlan.h"

#include <irrlicht.h>

#include <chrono>

// The X11 side of the demo's windows, beyond what the engine does itself.

// What the X server of $DISPLAY offers: a 640 x 480 video mode (the engine
// switches modes with XF86VidMode) and whether the switch is only emulated
// (Xwayland, known by its RandR output names or its extension), the active
// monitors and the primary monitor's size (RandR). Without a display: no
// mode, one monitor, size 0.
DisplayFacts readDisplayFacts();

// Makes the device's window cover its monitor without borders: the window
// manager's fullscreen state, or without a window manager that supports
// it, an unmanaged window over the whole screen that takes the keyboard.
// The mouse pointer is hidden over it.
void showBorderlessFullscreen(irr::IrrlichtDevice* device);

// How long a shown fullscreen or desktop window waits for the window
// manager or compositor to give it the keyboard focus.
constexpr std::chrono::milliseconds FOCUS_GRACE{500};

// Waits until the device's window is shown, then up to FOCUS_GRACE for the
// focus; when it is not given, the window takes it, so that the demo draws
// and Escape reaches it. Where the focus is taken back at once and no other
// window has it either (Xwayland on a compositor that gives X clients no
// keyboard), the engine still counts its window active. Where another
// window keeps it, the window stays inactive until it is chosen.
void takeFocusUnlessGiven(irr::IrrlichtDevice* device);

// An ordinary window the user may resize, but not below the picture's
// 640 x 480 (a smaller window could not hold the frame before it is scaled).
void allowResizing(irr::IrrlichtDevice* device);

// Keeps the device's window at the given size (the size it was made with). A window manager
// that fills the screen with ordinary windows (matchbox, tiling managers)
// resizes it; then the window is withdrawn from the manager and shown again
// unmanaged, like the demo's fullscreen window, at the top left of the
// screen. Without a window manager, or with one that leaves the size alone,
// nothing changes.
void keepWindowSize(irr::IrrlichtDevice* device, irr::u32 width, irr::u32 height);
