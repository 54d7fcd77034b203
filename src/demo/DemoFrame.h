#pragma once

#include <irrlicht.h>

class EffectDirector;
class ScreenScaler;

// Sees a finished frame before it is shown (the capture tool reads it back here).
class FrameObserver
{
public:
    virtual void frameDrawn(irr::video::IVideoDriver* driver) = 0;

protected:
    ~FrameObserver() = default;
};

// One frame of the demo, the same for the demo and the capture tool: clear
// the back buffer and the depth buffer to colour 0, let the director draw
// into a 640 x 480 screen, scale that onto the window, show the result.
void drawFrame(irr::video::IVideoDriver* driver, EffectDirector& director, ScreenScaler& scaler,
               FrameObserver* observer = nullptr);
