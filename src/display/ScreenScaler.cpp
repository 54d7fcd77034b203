#include "display/ScreenScaler.h"

#include "display/ForwardingVideoDriver.h"
#include "platform/DemoDevice.h"
#include "platform/OpenGL.h"
#include "platform/Warning.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>

using namespace irr;

namespace
{
const core::dimension2du PICTURE(SCREEN_WIDTH, SCREEN_HEIGHT);

// Draws the picture texture over the viewport. Sharp scaling in one pass:
// each picture pixel covers a block of `wholeFactor` screen pixels that shows
// its colour flat, and only the outermost half pixel of the block blends with
// its neighbour, exactly as bilinear filtering of the picture enlarged by
// nearest neighbour to that whole multiple would. With a factor of 1 this is
// plain bilinear filtering.
const char* const VERTEX_SHADER = R"(
#version 120
void main()
{
    gl_Position = gl_Vertex;
    gl_TexCoord[0] = gl_MultiTexCoord0;
}
)";
const char* const FRAGMENT_SHADER = R"(
#version 120
uniform sampler2D picture;
uniform vec2 pictureSize;
uniform float wholeFactor;
void main()
{
    vec2 texel = gl_TexCoord[0].xy * pictureSize;
    vec2 fromCentre = fract(texel) - 0.5;
    vec2 flatHalf = vec2(0.5 - 0.5 / wholeFactor);
    vec2 blend = (fromCentre - clamp(fromCentre, -flatHalf, flatHalf)) * wholeFactor;
    gl_FragColor = texture2D(picture, (floor(texel) + 0.5 + blend) / pictureSize);
}
)";

GLuint compiledShader(GLenum kind, const char* source)
{
    const GLuint shader = glCreateShader(kind);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    return shader;
}
GLuint linkedProgram(const char* fragmentSource)
{
    const GLuint program = glCreateProgram();
    const GLuint vertex = compiledShader(GL_VERTEX_SHADER, VERTEX_SHADER);
    const GLuint fragment = compiledShader(GL_FRAGMENT_SHADER, fragmentSource);
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked != GL_TRUE)
    {
        glDeleteProgram(program);
        return 0;
    }
    glUseProgram(program);
    glUniform1i(glGetUniformLocation(program, "picture"), 0);
    return program;
}

// A texture of four bytes a pixel that the scaler draws into or from.
// Unsized RGBA given as BGRA is stored as blue, green, red, alpha, the
// layout that software renderers blit and filter fastest.
GLuint colourTexture(core::dimension2du size)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, static_cast<GLsizei>(size.Width), static_cast<GLsizei>(size.Height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    return texture;
}

// A framebuffer drawing into a colour texture alone, 0 when incomplete.
GLuint framebufferOf(GLuint texture)
{
    GLuint framebuffer = 0;
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    const bool complete = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    if (!complete)
        glDeleteFramebuffers(1, &framebuffer);
    return complete ? framebuffer : 0;
}

// The texture over the whole viewport.
void drawTextureQuad()
{
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-1.0f, -1.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(1.0f, -1.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-1.0f, 1.0f);
    glEnd();
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
    if (program)
        glDeleteProgram(program);
    if (pictureTexture)
        glDeleteTextures(1, &pictureTexture);
    if (offScreenFramebuffer)
        glDeleteFramebuffers(1, &offScreenFramebuffer);
    if (offScreenColour)
        glDeleteTextures(1, &offScreenColour);
    program = 0;
    pictureTexture = 0;
    offScreenFramebuffer = offScreenColour = 0;
    offScreen = core::dimension2du(0, 0);
}

bool ScreenScaler::showOffScreen(core::dimension2du screen)
{
    if (driver->getDriverType() != video::EDT_OPENGL || !hasOffScreenFunctions() || screen.Width < PICTURE.Width ||
        screen.Height < PICTURE.Height || offScreenFramebuffer)
        return false;
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    offScreenColour = colourTexture(screen);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    offScreenFramebuffer = framebufferOf(offScreenColour);
    if (!offScreenFramebuffer)
    {
        glDeleteTextures(1, &offScreenColour);
        offScreenColour = 0;
        return false;
    }
    offScreen = screen;
    return true;
}

void ScreenScaler::beginFrame()
{
    deviceScreen = driver->getScreenSize();
    shown = offScreenFramebuffer ? offScreen : deviceScreen;
    scaling = driver->getDriverType() == video::EDT_OPENGL && shown != PICTURE && shown.Width >= PICTURE.Width &&
              shown.Height >= PICTURE.Height;
    // Off screen, the 640 x 480 picture is drawn into the whole window.
    const s32 pictureBottom = offScreenFramebuffer ? 0 : static_cast<s32>(shown.Height - PICTURE.Height);
    cornerDriver->screenBottom = scaling ? pictureBottom : -1;
    if (!scaling)
        return;
    driver->OnResize(PICTURE);
    cornerDriver->placeScreen();
}

void ScreenScaler::present()
{
    if (!scaling)
        return;
    const PictureLayout layout = PictureLayout::of(shown, mode);
    const bool exactMultiple = core::dimension2du(layout.area.getSize()) == PICTURE * layout.wholeFactor;
    // The picture's place on the screen shown, in OpenGL's coordinates (y up).
    const core::recti area(
        layout.area.UpperLeftCorner.X, static_cast<s32>(shown.Height) - layout.area.LowerRightCorner.Y,
        layout.area.LowerRightCorner.X, static_cast<s32>(shown.Height) - layout.area.UpperLeftCorner.Y);

    // Everything changed here is the engine's state: it gets it back as it was
    // (it remembers which textures it bound, and would not bind them again).
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    GLint engineProgram = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &engineProgram);
    if (!prepare())
    {
        glPopAttrib();
        driver->OnResize(deviceScreen);
        cornerDriver->screenBottom = -1;
        return;
    }
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_STENCIL_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);

    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, pictureTexture);
    glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, cornerDriver->screenBottom, static_cast<GLsizei>(PICTURE.Width),
                        static_cast<GLsizei>(PICTURE.Height));
    glBindFramebuffer(GL_FRAMEBUFFER, offScreenFramebuffer);
    clearAround(area);

    // Whole multiples are nothing but whole blocks; smooth is sharp with blocks of one.
    const GLint filter = exactMultiple && mode != ScaleMode::Smooth ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glUseProgram(program);
    glUniform1f(wholeFactorUniform,
                mode == ScaleMode::Sharp && !exactMultiple ? static_cast<float>(layout.wholeFactor) : 1.0f);
    glViewport(area.UpperLeftCorner.X, area.UpperLeftCorner.Y, area.getWidth(), area.getHeight());
    drawTextureQuad();

    glUseProgram(static_cast<GLuint>(engineProgram));
    glPopAttrib();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    driver->OnResize(deviceScreen);
    cornerDriver->screenBottom = -1;
}

void ScreenScaler::clearAround(const core::recti& area) const
{
    // Only the bars: the picture covers the rest.
    const s32 width = static_cast<s32>(shown.Width), height = static_cast<s32>(shown.Height);
    const core::recti bars[] = {
        {0, 0, area.UpperLeftCorner.X, height},
        {area.LowerRightCorner.X, 0, width, height},
        {area.UpperLeftCorner.X, 0, area.LowerRightCorner.X, area.UpperLeftCorner.Y},
        {area.UpperLeftCorner.X, area.LowerRightCorner.Y, area.LowerRightCorner.X, height},
    };
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    for (const core::recti& bar : bars)
        if (bar.getWidth() > 0 && bar.getHeight() > 0)
        {
            glScissor(bar.UpperLeftCorner.X, bar.UpperLeftCorner.Y, bar.getWidth(), bar.getHeight());
            glClear(GL_COLOR_BUFFER_BIT);
        }
    glDisable(GL_SCISSOR_TEST);
}

bool ScreenScaler::prepare()
{
    // Runs inside present's saved state, once.
    if (pictureTexture)
        return programLinked;
    pictureTexture = colourTexture(PICTURE);

    program = linkedProgram(FRAGMENT_SHADER);
    programLinked = program != 0;
    if (!programLinked)
    {
        warn("this OpenGL cannot build the scaling shader: the picture stays unscaled at the top left");
        return false;
    }
    glUseProgram(program);
    glUniform2f(glGetUniformLocation(program, "pictureSize"), static_cast<float>(PICTURE.Width),
                static_cast<float>(PICTURE.Height));
    wholeFactorUniform = glGetUniformLocation(program, "wholeFactor");
    return true;
}
