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
    // The next frameDrawn fills this picture (640 x 480, rows top first).
    void readInto(RgbImage* picture) { target = picture; }

    void frameDrawn(irr::video::IVideoDriver* driver) override;

private:
    RgbImage* target = nullptr;
    std::vector<unsigned char> bottomUp; // GL's row order, kept between frames
};
