#pragma once

#include <irrlicht.h>

#include <string>

// The demo's window and engine: 640 x 480, 32 bits, OpenGL, no stencil
// buffer, no vsync. The capture tool asks for the same device, windowed.
// Textures loaded on it get their mipmaps from buildMipmaps.
// Returns null when no device can be created (no display, no OpenGL).
irr::IrrlichtDevice* createDemoDevice(bool fullscreen, irr::IEventReceiver* receiver);

// Why createDemoDevice gave no device, in a few words for the one line that
// the programs print: no display, no connection to it, or no OpenGL on it.
std::string whyNoDemoDevice();

constexpr irr::u32 SCREEN_WIDTH = 640;
constexpr irr::u32 SCREEN_HEIGHT = 480;
