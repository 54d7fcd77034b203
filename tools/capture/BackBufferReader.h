#pragma once

#include "Png.h"
#include "demo/DemoFrame.h"

#include <vector>

// Reads each finished frame from the back buffer before endScene shows it.
// (The engine's createScreenShot reads the front buffer, which is black under
// Mesa's software renderer.) With no target set, frames are left unread.
class BackBufferReader : public FrameObserver
{
public:
    // Reads the whole window, which must have this size (the picture and
    // the bars around it when it is bigger than 640 x 480).
    explicit BackBufferReader(irr::core::dimension2du screen) : screen(screen) {}

    // The next frameDrawn fills this picture (rows top first).
    void readInto(RgbImage* picture) { target = picture; }

    void frameDrawn(irr::video::IVideoDriver* driver) override;

private:
    irr::core::dimension2du screen;
    RgbImage* target = nullptr;
    std::vector<unsigned char> bottomUp; // GL's row order, kept between frames
};
