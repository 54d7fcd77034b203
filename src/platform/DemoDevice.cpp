#include "platform/DemoDevice.h"

#include "platform/OpenGL.h"
#include "platform/SanitizerSupport.h"

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
    if (!loadOpenGlFunctions())
    {
        device->closeDevice();
        device->drop();
        return nullptr;
    }
    keepGlDriverLoaded();
    // Mipmaps are made on the CPU once everything is loaded (buildMipmaps).
    device->getVideoDriver()->disableFeature(irr::video::EVDF_MIP_MAP_AUTO_UPDATE);
    return device;
}
