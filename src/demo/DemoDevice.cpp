#include "demo/DemoDevice.h"

#include "demo/SanitizerSupport.h"

irr::IrrlichtDevice* createDemoDevice(bool fullscreen, irr::IEventReceiver* receiver)
{
    irr::SIrrlichtCreationParameters parameters;
    parameters.DriverType = irr::video::EDT_OPENGL;
    parameters.WindowSize = irr::core::dimension2d<irr::u32>(SCREEN_WIDTH, SCREEN_HEIGHT);
    parameters.Bits = 32;
    parameters.Fullscreen = fullscreen;
    parameters.Stencilbuffer = false;
    parameters.Vsync = false;
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
