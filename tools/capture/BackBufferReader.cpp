#include "BackBufferReader.h"

#include "CaptureErrors.h"
#include "demo/DemoDevice.h"

#include <GL/gl.h>

#include <cstring>

void BackBufferReader::frameDrawn(irr::video::IVideoDriver* driver)
{
    if (!target)
        return;
    RgbImage& picture = *target;
    target = nullptr;
    const irr::core::dimension2du size = driver->getScreenSize();
    if (size.Width != SCREEN_WIDTH || size.Height != SCREEN_HEIGHT)
        throw CaptureError("the window is " + std::to_string(size.Width) + "x" + std::to_string(size.Height) +
                           ", not 640x480 (did a window manager resize it?)");

    const std::size_t rowBytes = SCREEN_WIDTH * 3;
    bottomUp.resize(rowBytes * SCREEN_HEIGHT);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());

    if (picture.width != SCREEN_WIDTH || picture.height != SCREEN_HEIGHT)
        picture = RgbImage(SCREEN_WIDTH, SCREEN_HEIGHT);
    for (unsigned y = 0; y < SCREEN_HEIGHT; ++y)
        std::memcpy(picture.row(y), bottomUp.data() + (SCREEN_HEIGHT - 1 - y) * rowBytes, rowBytes);
}
