#include "demo/DemoMain.h"

#include "demo/DemoContext.h"
#include "demo/DemoFrame.h"
#include "demo/EffectDirector.h"
#include "demo/Mipmaps.h"

int runDemo(irr::IrrlichtDevice* device)
{
    device->setWindowCaption(L"KIRUPO");
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    DemoContext* context = new DemoContext(device);
    EffectDirector* director = new EffectDirector();
    // Every asset is loaded before the music starts, so picture and sound start together.
    director->initAll();
    buildMipmaps(driver);
    context->playMusic(MUSIC_PATH);

    while (device->run())
    {
        // An inactive window gets no frames; the next active frame's tick
        // sees the whole pause at once and the picture catches up with the music.
        if (!device->isWindowActive())
            continue;
        drawFrame(driver, *director);
    }

    context->stopMusic();
    director->shutdownAll();
    delete director;
    delete context;
    device->drop();
    return 0;
}
