#pragma once

#include <irrlicht.h>

// The demo's window and engine: 640 x 480, 32 bits, OpenGL, no stencil
// buffer, no vsync. The capture tool asks for the same device, windowed.
// Textures loaded on it get their mipmaps from buildMipmaps.
// Returns null when no device can be created (no display, no OpenGL).
irr::IrrlichtDevice* createDemoDevice(bool fullscreen, irr::IEventReceiver* receiver);

constexpr irr::u32 SCREEN_WIDTH = 640;
constexpr irr::u32 SCREEN_HEIGHT = 480;
