#pragma once

#include "GpuImage.h"
#include "Png.h"
#include "demo/DemoFrame.h"

#include <optional>
#include <vector>

class ScreenScaler;

// Reads each finished frame before endScene shows it: from the window's back
// buffer, or from the scaler's off-screen image when it shows the frame there.
// (The engine's createScreenShot reads the front buffer, which is black under
// Mesa's software renderer.) With no target set, frames are left unread.
class BackBufferReader : public FrameObserver
{
public:
    // The window must keep its size; the frame read is the screen shown,
    // the picture and the bars around it when it is bigger than 640 x 480.
    BackBufferReader(irr::core::dimension2du window, irr::core::dimension2du shown) : window(window), shown(shown) {}

    // Where the frame is shown; none: the window's back buffer.
    void readFrom(const ScreenScaler* scaler) { this->scaler = scaler; }

    // The next frameDrawn fills this picture (rows top first, RGB).
    void readInto(RgbImage* picture) { rgbTarget = picture; }
    // The next frameDrawn fills this frame as the framebuffer keeps it.
    void readInto(GpuImage* frame) { gpuTarget = frame; }

    void frameDrawn(irr::video::IVideoDriver* driver) override;

    // The order of the bytes OpenGL reads the shown frame in without converting them.
    GpuImage::Order readOrder() const;

private:
    void bindShownFrame() const;
    static GpuImage::Order boundFrameOrder(); // of the read framebuffer bound
    void readRgb(RgbImage& picture);
    void readGpuLayout(GpuImage& frame, GpuImage::Order bytes);

    irr::core::dimension2du window;
    irr::core::dimension2du shown;
    const ScreenScaler* scaler = nullptr;
    RgbImage* rgbTarget = nullptr;
    GpuImage* gpuTarget = nullptr;
    std::vector<unsigned char> bottomUp; // GL's row order, kept between frames
    // The shown frame's byte order, asked of OpenGL once: it stays.
    mutable std::optional<GpuImage::Order> order;
};
