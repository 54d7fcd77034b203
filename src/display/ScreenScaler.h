#pragma once

#include <irrlicht.h>

#include <string>

// How the 640 x 480 picture is enlarged onto a bigger screen or window.
enum class ScaleMode
{
    Sharp,   // nearest neighbour to the largest whole multiple, then smoothly for the rest
    Smooth,  // bilinear all the way
    Integer, // the largest whole multiple only, centred
};

const char* scaleModeName(ScaleMode mode);
// False, and mode unchanged, for a name that is none of "sharp", "smooth", "integer".
bool parseScaleMode(const std::string& name, ScaleMode& mode);

// Reads "WxH" (e.g. "1920x1080"), each side a whole number from 1 to
// MAX_SCREEN_SIDE; false, and size unchanged, for anything else.
bool parseScreenSize(const std::string& text, irr::core::dimension2du& size);
constexpr irr::u32 MAX_SCREEN_SIDE = 16384;

// Where the picture lies on a screen: the largest centred 4:3 rectangle
// (integer scaling: the largest whole multiple of 640 x 480), y down, and
// the largest whole multiple that fits, at least 1.
struct PictureLayout
{
    irr::core::recti area;
    irr::u32 wholeFactor = 1;

    static PictureLayout of(irr::core::dimension2du screen, ScaleMode mode);
};

// Lets the effects draw into a 640 x 480 screen whatever the window's size,
// and then shows that picture scaled into the whole window with black bars.
// The effects see the same screen size, transforms, render targets and 2D
// coordinates as on a 640 x 480 screen: during the frame the driver is told
// the screen is 640 x 480 and draws into the window's top left corner,
// where the rasteriser works exactly as in a window of 640 x 480, so the
// picture comes out pixel for pixel the same. It is then copied out and
// drawn scaled in one pass. A window of 640 x 480 is left untouched. Windows smaller
// than 640 x 480 are not scaled (the demo keeps its windows at least that big).
class ScreenScaler
{
public:
    // deviceDriver is the device's own; the effects draw with drawingDriver().
    ScreenScaler(ScaleMode mode, irr::video::IVideoDriver* deviceDriver);
    ~ScreenScaler();

    ScreenScaler(const ScreenScaler&) = delete;
    ScreenScaler& operator=(const ScreenScaler&) = delete;

    // The driver the effects draw with (DemoContext): the device's, except
    // that switching back to the screen after a render target also puts the
    // screen back into its corner of the window.
    irr::video::IVideoDriver* drawingDriver();

    // Before the frame is drawn: the driver sees a 640 x 480 screen.
    void beginFrame();
    // After the frame is drawn, before it is read back or shown: the picture
    // fills its place on the whole screen shown, and the driver sees the window's
    // own size again.
    void present();

    ScaleMode scaleMode() const { return mode; }

    // From the next frame on, shows the scaled picture in an off-screen
    // image of this size, at least 640 x 480, instead of the window, which
    // stays 640 x 480: nothing of the bigger size is cleared or presented
    // (the capture tool's bigger screens). False when this OpenGL cannot make it.
    bool showOffScreen(irr::core::dimension2du screen);
    // Where the finished frame lies until endScene, for glReadPixels: the
    // off-screen image's framebuffer, or 0 for the window's back buffer.
    unsigned shownFramebuffer() const { return offScreenFramebuffer; }

    // Frees the OpenGL objects it made, while the device's context is still
    // there: the owner calls it before dropping the device.
    void releaseBuffers();

private:
    class CornerDriver;
    // Makes the picture's texture and the scaling program, once; false
    // when the program cannot be built (the picture is then left unscaled).
    bool prepare();

    // Clears the window around the picture's area (OpenGL's coordinates) to black.
    void clearAround(const irr::core::recti& area) const;

    ScaleMode mode;
    irr::video::IVideoDriver* driver;
    CornerDriver* cornerDriver;
    irr::core::dimension2du shown;        // the size shown during this frame: the window's, or the off-screen image's
    irr::core::dimension2du deviceScreen; // the window's own size, which the driver sees again after the frame
    bool scaling = false;                 // this frame is shown bigger than 640 x 480
    unsigned pictureTexture = 0;          // the finished 640 x 480 frame
    unsigned program = 0;                 // draws it scaled
    bool programLinked = false;
    int wholeFactorUniform = -1;
    irr::core::dimension2du offScreen; // 0 x 0: the window shows the frame
    unsigned offScreenFramebuffer = 0;
    unsigned offScreenColour = 0; // its texture
};
