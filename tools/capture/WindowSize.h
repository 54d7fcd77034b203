#pragma once

#include <irrlicht.h>

// Keeps the device's window at the given size (the size it was made with). A window manager
// that fills the screen with ordinary windows (matchbox, tiling managers)
// resizes it; then the window is withdrawn from the manager and shown again
// unmanaged, like the demo's fullscreen window, at the top left of the
// screen. Without a window manager, or with one that leaves the size alone,
// nothing changes.
void keepWindowSize(irr::IrrlichtDevice* device, irr::u32 width, irr::u32 height);
