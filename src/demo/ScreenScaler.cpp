#include "demo/ScreenScaler.h"

#include "demo/DemoDevice.h"
#include "demo/ForwardingVideoDriver.h"

#define GL_GLEXT_PROTOTYPES
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

using namespace irr;

namespace
{
const core::dimension2du PICTURE(SCREEN_WIDTH, SCREEN_HEIGHT);

// Copies a rectangle between the bound read and draw framebuffers; rectangles
// are in OpenGL's coordinates (y up), as (left, bottom, right, top).
void blit(const core::recti& from, const core::recti& to, GLenum filter)
{
    glBlitFramebuffer(from.UpperLeftCorner.X, from.UpperLeftCorner.Y, from.LowerRightCorner.X,
                      from.LowerRightCorner.Y, to.UpperLeftCorner.X, to.UpperLeftCorner.Y, to.LowerRightCorner.X,
                      to.LowerRightCorner.Y, GL_COLOR_BUFFER_BIT, filter);
}

core::recti whole(core::dimension2du size)
{
    return core::recti(0, 0, static_cast<s32>(size.Width), static_cast<s32>(size.Height));
}
} // namespace

// The engine puts the screen's viewport at the window's bottom left (in
// OpenGL's coordinates) whenever the screen becomes the target again; in a
// bigger window this driver moves it to the top left, where the frame began.
class ScreenScaler::CornerDriver : public ForwardingVideoDriver
{
public:
    using ForwardingVideoDriver::ForwardingVideoDriver;

    // The screen's bottom edge above the window's, in pixels; negative when
    // the screen is the whole window.
    s32 screenBottom = -1;

    void placeScreen() const
    {
        if (screenBottom >= 0)
            glViewport(0, screenBottom, static_cast<GLsizei>(PICTURE.Width), static_cast<GLsizei>(PICTURE.Height));
    }

    bool setRenderTarget(video::ITexture* texture, bool clearBackBuffer, bool clearZBuffer,
                         video::SColor colour) override
    {
        const bool done = inner->setRenderTarget(texture, clearBackBuffer, clearZBuffer, colour);
        if (!texture)
            placeScreen();
        return done;
    }
    bool setRenderTarget(video::E_RENDER_TARGET target, bool clearTarget, bool clearZBuffer,
                         video::SColor colour) override
    {
        const bool done = inner->setRenderTarget(target, clearTarget, clearZBuffer, colour);
        if (target == video::ERT_FRAME_BUFFER)
            placeScreen();
        return done;
    }
    bool setRenderTarget(const core::array<video::IRenderTarget>& targets, bool clearBackBuffer, bool clearZBuffer,
                         video::SColor colour) override
    {
        const bool done = inner->setRenderTarget(targets, clearBackBuffer, clearZBuffer, colour);
        if (targets.empty())
            placeScreen();
        return done;
    }
};

const char* scaleModeName(ScaleMode mode)
{
    switch (mode)
    {
    case ScaleMode::Sharp:
        return "sharp";
    case ScaleMode::Smooth:
        return "smooth";
    case ScaleMode::Integer:
        return "integer";
    }
    return "sharp";
}

bool parseScaleMode(const std::string& name, ScaleMode& mode)
{
    for (ScaleMode candidate : {ScaleMode::Sharp, ScaleMode::Smooth, ScaleMode::Integer})
        if (name == scaleModeName(candidate))
        {
            mode = candidate;
            return true;
        }
    return false;
}

bool parseScreenSize(const std::string& text, core::dimension2du& size)
{
    unsigned long sides[2];
    const char* at = text.c_str();
    for (int i = 0; i < 2; ++i)
    {
        if (!std::isdigit(static_cast<unsigned char>(*at)))
            return false;
        char* end = nullptr;
        errno = 0;
        sides[i] = std::strtoul(at, &end, 10);
        if (errno != 0 || sides[i] < 1 || sides[i] > MAX_SCREEN_SIDE)
            return false;
        at = end;
        if (i == 0 && *at++ != 'x')
            return false;
    }
    if (*at != '\0')
        return false;
    size = core::dimension2du(static_cast<u32>(sides[0]), static_cast<u32>(sides[1]));
    return true;
}

PictureLayout PictureLayout::of(core::dimension2du screen, ScaleMode mode)
{
    PictureLayout layout;
    layout.wholeFactor = std::max(1u, std::min(screen.Width / PICTURE.Width, screen.Height / PICTURE.Height));
    core::dimension2du size;
    if (mode == ScaleMode::Integer)
        size = PICTURE * layout.wholeFactor;
    else if (static_cast<u64>(screen.Width) * PICTURE.Height >= static_cast<u64>(screen.Height) * PICTURE.Width)
        size = core::dimension2du(screen.Height * PICTURE.Width / PICTURE.Height, screen.Height);
    else
        size = core::dimension2du(screen.Width, screen.Width * PICTURE.Height / PICTURE.Width);
    const s32 left = (static_cast<s32>(screen.Width) - static_cast<s32>(size.Width)) / 2;
    const s32 top = (static_cast<s32>(screen.Height) - static_cast<s32>(size.Height)) / 2;
    layout.area = core::recti(core::position2di(left, top), core::dimension2di(size));
    return layout;
}

ScreenScaler::ScreenScaler(ScaleMode mode, video::IVideoDriver* deviceDriver)
    : mode(mode), driver(deviceDriver), cornerDriver(new CornerDriver(deviceDriver))
{
}

ScreenScaler::~ScreenScaler()
{
    releaseBuffers();
    delete cornerDriver;
}

video::IVideoDriver* ScreenScaler::drawingDriver()
{
    return cornerDriver;
}

void ScreenScaler::releaseBuffers()
{
    release(picture);
    release(enlarged);
}

void ScreenScaler::beginFrame()
{
    window = driver->getScreenSize();
    scaling = driver->getDriverType() == video::EDT_OPENGL && window != PICTURE && window.Width >= PICTURE.Width &&
              window.Height >= PICTURE.Height;
    cornerDriver->screenBottom = scaling ? static_cast<s32>(window.Height - PICTURE.Height) : -1;
    if (!scaling)
        return;
    driver->OnResize(PICTURE);
    cornerDriver->placeScreen();
}

void ScreenScaler::present()
{
    if (!scaling)
        return;
    const PictureLayout layout = PictureLayout::of(window, mode);
    const core::dimension2du shown(layout.area.getSize());
    const bool exactMultiple = shown == PICTURE * layout.wholeFactor;
    const bool throughWholeMultiple = mode == ScaleMode::Sharp && layout.wholeFactor > 1 && !exactMultiple;
    resize(picture, PICTURE);
    if (throughWholeMultiple)
        resize(enlarged, PICTURE * layout.wholeFactor);
    // The picture's place on the window, in OpenGL's coordinates (y up).
    const core::recti area(layout.area.UpperLeftCorner.X, static_cast<s32>(window.Height) - layout.area.LowerRightCorner.Y,
                           layout.area.LowerRightCorner.X, static_cast<s32>(window.Height) - layout.area.UpperLeftCorner.Y);

    // Blits and clears obey the scissor test and the colour mask.
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_SCISSOR_BIT);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, picture.framebuffer);
    const s32 bottom = cornerDriver->screenBottom;
    blit(core::recti(0, bottom, static_cast<s32>(PICTURE.Width), bottom + static_cast<s32>(PICTURE.Height)),
         whole(PICTURE), GL_NEAREST);

    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, picture.framebuffer);
    if (throughWholeMultiple)
    {
        // Pixels grow as whole blocks first, so edges stay crisp and every
        // pixel keeps its width; only the last step is smooth.
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, enlarged.framebuffer);
        blit(whole(PICTURE), whole(enlarged.size), GL_NEAREST);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, enlarged.framebuffer);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
        blit(whole(enlarged.size), area, GL_LINEAR);
    }
    else
    {
        const bool smooth = mode == ScaleMode::Smooth || !exactMultiple;
        blit(whole(PICTURE), area, smooth ? GL_LINEAR : GL_NEAREST);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glPopAttrib();
    driver->OnResize(window);
    cornerDriver->screenBottom = -1;
    cornerDriver->screenBottom = -1;
}

void ScreenScaler::resize(FrameBuffer& buffer, core::dimension2du size)
{
    if (buffer.framebuffer && buffer.size == size)
        return;
    release(buffer);
    glGenRenderbuffers(1, &buffer.colour);
    glBindRenderbuffer(GL_RENDERBUFFER, buffer.colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, static_cast<GLsizei>(size.Width), static_cast<GLsizei>(size.Height));
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glGenFramebuffers(1, &buffer.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, buffer.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffer.colour);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    buffer.size = size;
}

void ScreenScaler::release(FrameBuffer& buffer)
{
    if (buffer.framebuffer)
        glDeleteFramebuffers(1, &buffer.framebuffer);
    if (buffer.colour)
        glDeleteRenderbuffers(1, &buffer.colour);
    buffer = FrameBuffer();
}
