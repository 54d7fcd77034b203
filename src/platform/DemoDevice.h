#pragma once

#include "platform/DemoGeometry.h"

#include <irrlicht.h>

#include <string>

// The window the engine opens: 640 x 480 fullscreen (a video mode switch)
// is the demo's own; a bigger window shows the picture scaled (ScreenScaler).
struct DeviceSettings
{
    irr::core::dimension2du windowSize{SCREEN_WIDTH, SCREEN_HEIGHT};
    bool fullscreen = false;
    bool vsync = false; // frames as fast as the machine draws them, as the demo has always run
};

// The demo's engine: OpenGL, 32 bits, no stencil buffer, the engine's log
// off. The capture tool asks for the same device, windowed. Textures loaded
// on it get their mipmaps from buildMipmaps.
// Returns null when no device can be created (no display, no OpenGL).
irr::IrrlichtDevice* createDemoDevice(const DeviceSettings& settings, irr::IEventReceiver* receiver);

// Why createDemoDevice gave no device, in a few words for the one line that
// the programs print: no display, no connection to it, or no OpenGL on it.
std::string whyNoDemoDevice();
