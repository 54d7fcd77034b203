#include "demo/DemoFrame.h"

#include "demo/DemoContext.h"
#include "demo/EffectDirector.h"
#include "display/ScreenScaler.h"

void drawFrame(irr::video::IVideoDriver* driver, EffectDirector& director, FrameObserver* observer,
               ScreenScaler* scaler)
{
    driver->beginScene(true, true, irr::video::SColor(0));
    if (scaler)
        scaler->beginFrame();
    director.tick();
    if (scaler)
        scaler->present();
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
