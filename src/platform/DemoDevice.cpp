#include "platform/DemoDevice.h"

#include "platform/SanitizerSupport.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstdlib>

irr::IrrlichtDevice* createDemoDevice(const DeviceSettings& settings, irr::IEventReceiver* receiver)
{
    irr::SIrrlichtCreationParameters parameters;
    parameters.DriverType = irr::video::EDT_OPENGL;
    parameters.WindowSize = settings.windowSize;
    parameters.Bits = 32;
    parameters.Fullscreen = settings.fullscreen;
    parameters.Stencilbuffer = false;
    parameters.Vsync = settings.vsync;
    parameters.EventReceiver = receiver;
    // The demo shows nothing but itself: the engine's chatter stays off.
    parameters.LoggingLevel = irr::ELL_NONE;
    irr::IrrlichtDevice* device = irr::createDeviceEx(parameters);
    if (!device)
        return nullptr;
    keepGlDriverLoaded();
    // Mipmaps are made on the CPU once everything is loaded (buildMipmaps).
    device->getVideoDriver()->disableFeature(irr::video::EVDF_MIP_MAP_AUTO_UPDATE);
    return device;
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
