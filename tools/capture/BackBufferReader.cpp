#include "BackBufferReader.h"

#include "CaptureErrors.h"
#include "display/ScreenScaler.h"
#include "platform/OpenGL.h"

#include <cstring>

void BackBufferReader::frameDrawn(irr::video::IVideoDriver* driver)
{
    if (!rgbTarget && !gpuTarget)
        return;
    const irr::core::dimension2du size = driver->getScreenSize();
    if (size != window)
        throw CaptureError("the window is " + std::to_string(size.Width) + "x" + std::to_string(size.Height) +
                           ", not " + std::to_string(window.Width) + "x" + std::to_string(window.Height) +
                           " (did a window manager resize it?)");
    bindShownFrame();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (rgbTarget)
        readRgb(*rgbTarget);
    if (gpuTarget)
    {
        if (!order)
            order = boundFrameOrder();
        readGpuLayout(*gpuTarget, *order);
    }
    rgbTarget = nullptr;
    gpuTarget = nullptr;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}

void BackBufferReader::bindShownFrame() const
{
    const GLuint framebuffer = scaler ? scaler->shownFramebuffer() : 0;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    if (framebuffer == 0)
        glReadBuffer(GL_BACK);
}

GpuImage::Order BackBufferReader::readOrder() const
{
    if (!order)
    {
        bindShownFrame();
        order = boundFrameOrder();
        glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    }
    return *order;
}

GpuImage::Order BackBufferReader::boundFrameOrder()
{
    GLint format = GL_BGRA, type = GL_UNSIGNED_BYTE;
    glGetIntegerv(GL_IMPLEMENTATION_COLOR_READ_FORMAT, &format);
    glGetIntegerv(GL_IMPLEMENTATION_COLOR_READ_TYPE, &type);
    return format == GL_RGBA && type == GL_UNSIGNED_BYTE ? GpuImage::Order::Rgba : GpuImage::Order::Bgra;
}

void BackBufferReader::readRgb(RgbImage& picture)
{
    const std::size_t rowBytes = static_cast<std::size_t>(shown.Width) * 3;
    bottomUp.resize(rowBytes * shown.Height);
    glReadPixels(0, 0, shown.Width, shown.Height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    if (picture.width != shown.Width || picture.height != shown.Height)
        picture = RgbImage(shown.Width, shown.Height);
    for (unsigned y = 0; y < shown.Height; ++y)
        std::memcpy(picture.row(y), bottomUp.data() + (shown.Height - 1 - y) * rowBytes, rowBytes);
}

void BackBufferReader::readGpuLayout(GpuImage& frame, GpuImage::Order bytes)
{
    if (frame.width != shown.Width || frame.height != shown.Height)
        frame = GpuImage(shown.Width, shown.Height);
    frame.order = bytes;
    glReadPixels(0, 0, shown.Width, shown.Height, bytes == GpuImage::Order::Rgba ? GL_RGBA : GL_BGRA, GL_UNSIGNED_BYTE,
                 frame.pixels.data());
}
