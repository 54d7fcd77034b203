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
// into a 640 x 480 screen, scale that onto the window (when a scaler is
// given), let the observer see the result, show it.
void drawFrame(irr::video::IVideoDriver* driver, EffectDirector& director, FrameObserver* observer = nullptr,
               ScreenScaler* scaler = nullptr);

// One frame ticked but not drawn: the director ticks with the context's
// drawing off (DemoContext::setDrawing), so the demo clock and every effect's
// state move exactly as in drawFrame, but there is no scene and no picture.
void skipFrame(EffectDirector& director);
