#include "demo/DemoFrame.h"

#include "demo/DemoContext.h"
#include "demo/EffectDirector.h"

void drawFrame(irr::video::IVideoDriver* driver, EffectDirector& director, FrameObserver* observer)
{
    driver->beginScene(true, true, irr::video::SColor(0));
    director.tick();
    if (observer)
        observer->frameDrawn(driver);
    driver->endScene();
}

void skipFrame(EffectDirector& director)
{
    DemoContext* context = DemoContext::instance();
    context->setDrawing(false);
    director.tick();
    context->setDrawing(true);
}
