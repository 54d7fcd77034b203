// The capture's read-back against the screen: a frame with known content,
// read from the back buffer, must be the picture the X server shows in the
// window once endScene has put it there.
#include "BackBufferReader.h"
#include "CaptureSession.h"
#include "PixelTest.h"

#include <gtest/gtest.h>
// Xlib after gtest: its macros (None, Bool) would break gtest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <GL/gl.h>

#include <cstring>

using irr::core::recti;
using irr::video::SColor;

namespace
{
SColor at(const RgbImage& picture, unsigned x, unsigned y)
{
    const unsigned char* p = picture.row(y) + x * 3;
    return SColor(255, p[0], p[1], p[2]);
}

// The window's pixels as the X server holds them: an X screenshot.
RgbImage screenshot(irr::video::IVideoDriver* driver)
{
    const irr::video::SExposedVideoData& data = driver->getExposedVideoData();
    Display* display = static_cast<Display*>(data.OpenGLLinux.X11Display);
    const Window window = reinterpret_cast<Window>(data.OpenGLLinux.X11Window);
    XSync(display, False);
    XImage* image = XGetImage(display, window, 0, 0, 640, 480, AllPlanes, ZPixmap);
    RgbImage shot(640, 480);
    if (!image)
        return RgbImage();
    for (unsigned y = 0; y < 480; ++y)
        for (unsigned x = 0; x < 640; ++x)
        {
            const unsigned long pixel = XGetPixel(image, static_cast<int>(x), static_cast<int>(y));
            unsigned char* out = shot.row(y) + x * 3;
            out[0] = static_cast<unsigned char>((pixel & image->red_mask) >> 16);
            out[1] = static_cast<unsigned char>((pixel & image->green_mask) >> 8);
            out[2] = static_cast<unsigned char>(pixel & image->blue_mask);
        }
    XDestroyImage(image);
    return shot;
}
} // namespace

TEST(ReadBack, TheBackBufferComesTopRowFirstAndMatchesAnXScreenshotOfTheWindow)
{
    CaptureSession session; // the demo's window, kept at 640x480 under the window manager
    irr::video::IVideoDriver* driver = session.getDriver();
    ASSERT_EQ(driver->getScreenSize(), irr::core::dimension2du(640, 480));

    const SColor grey(255, 40, 40, 40), red(255, 255, 0, 0), green(255, 0, 255, 0), blue(255, 0, 0, 255);
    BackBufferReader reader(irr::core::dimension2du(640, 480), irr::core::dimension2du(640, 480));
    RgbImage picture;
    GpuImage asKept;                        // the same frame as the framebuffer keeps it
    for (int frame = 0; frame < 2; ++frame) // the second frame proves the reader can be used again
    {
        ASSERT_TRUE(session.getDevice()->run());
        driver->beginScene(true, true, grey);
        driver->draw2DRectangle(red, recti(0, 0, 100, 50));        // top left
        driver->draw2DRectangle(green, recti(540, 430, 640, 480)); // bottom right
        driver->draw2DRectangle(blue, recti(300, 10, 310, 470));   // a thin upright bar
        reader.readInto(&picture);
        reader.readInto(&asKept);
        reader.frameDrawn(driver);
        driver->endScene();
    }
    glFinish();

    ASSERT_EQ(picture.width, 640u);
    ASSERT_EQ(picture.height, 480u);
    EXPECT_EQ(at(picture, 0, 0), red);
    EXPECT_EQ(at(picture, 98, 48), red);
    EXPECT_EQ(at(picture, 639, 479), green);
    EXPECT_EQ(at(picture, 542, 432), green);
    EXPECT_EQ(at(picture, 305, 240), blue);
    EXPECT_EQ(at(picture, 639, 0), grey);
    EXPECT_EQ(at(picture, 0, 479), grey);
    EXPECT_EQ(at(picture, 320, 240), grey);

    const RgbImage shot = screenshot(driver);
    ASSERT_EQ(shot.width, 640u);
    std::size_t differing = 0;
    for (std::size_t i = 0; i < shot.pixels.size(); ++i)
        differing += shot.pixels[i] != picture.pixels[i];
    EXPECT_EQ(differing, 0u) << "the read-back frame differs from the window on screen";

    // Bottom row first, four bytes a pixel in the order it says: the same picture.
    ASSERT_EQ(asKept.width, 640u);
    ASSERT_EQ(asKept.order, reader.readOrder());
    const bool bgra = asKept.order == GpuImage::Order::Bgra;
    differing = 0;
    for (unsigned y = 0; y < 480; ++y)
        for (unsigned x = 0; x < 640; ++x)
        {
            const unsigned char* kept = asKept.rowFromTop(y) + 4 * x;
            const unsigned char* rgb = picture.row(y) + 3 * x;
            differing += kept[bgra ? 2 : 0] != rgb[0] || kept[1] != rgb[1] || kept[bgra ? 0 : 2] != rgb[2];
        }
    EXPECT_EQ(differing, 0u) << "the frame as the framebuffer keeps it is not the RGB frame";
}

TEST(ReadBack, ADemoFrameReadBackIsWhatTheWindowShows)
{
    CaptureSession session;
    ASSERT_TRUE(session.pin(1900)); // the heart of squares: drawn from code, no asset needed
    RgbImage picture;
    session.drawFrameAt(1000);
    session.drawFrameAt(1500, &picture);
    glFinish();

    // A real picture, not one flat colour...
    std::size_t differentFromCorner = 0;
    for (std::size_t i = 0; i < picture.pixels.size(); i += 3)
        differentFromCorner += std::memcmp(&picture.pixels[i], &picture.pixels[0], 3) != 0;
    EXPECT_GT(differentFromCorner, 1000u);
    // ...and the very one on screen.
    const RgbImage shot = screenshot(session.getDriver());
    ASSERT_EQ(shot.pixels.size(), picture.pixels.size());
    EXPECT_TRUE(shot.pixels == picture.pixels) << "the read-back frame differs from the window on screen";
}
