#include "demo/DemoFrame.h"

#include "demo/EffectDirector.h"
#include "demo/ScreenScaler.h"

void drawFrame(irr::video::IVideoDriver* driver, EffectDirector& director, ScreenScaler& scaler,
               FrameObserver* observer)
{
    driver->beginScene(true, true, irr::video::SColor(0));
    scaler.beginFrame(driver);
    director.tick();
    scaler.present(driver);
    if (observer)
        observer->frameDrawn(driver);
    driver->endScene();
}
