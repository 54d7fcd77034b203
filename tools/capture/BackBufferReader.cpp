#include "BackBufferReader.h"

#include "CaptureErrors.h"

#include <GL/gl.h>

#include <cstring>

void BackBufferReader::frameDrawn(irr::video::IVideoDriver* driver)
{
    if (!target)
        return;
    RgbImage& picture = *target;
    target = nullptr;
    const irr::core::dimension2du size = driver->getScreenSize();
    if (size != screen)
        throw CaptureError("the window is " + std::to_string(size.Width) + "x" + std::to_string(size.Height) +
                           ", not " + std::to_string(screen.Width) + "x" + std::to_string(screen.Height) +
                           " (did a window manager resize it?)");

    const std::size_t rowBytes = static_cast<std::size_t>(size.Width) * 3;
    bottomUp.resize(rowBytes * size.Height);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, size.Width, size.Height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());

    if (picture.width != size.Width || picture.height != size.Height)
        picture = RgbImage(size.Width, size.Height);
    for (unsigned y = 0; y < size.Height; ++y)
        std::memcpy(picture.row(y), bottomUp.data() + (size.Height - 1 - y) * rowBytes, rowBytes);
}
