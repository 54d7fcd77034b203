#pragma once

#include "BackBufferReader.h"
#include "display/ScreenScaler.h"
#include "platform/DemoGeometry.h"

#include <irrlicht.h>

#include <memory>

class DemoContext;
class EffectDirector;
class FrameSchedule;

// The demo's own code under a controlled clock: the demo's device settings
// in a window titled "KIRUPO", the context, the director with every effect
// loaded, and the engine timer stopped so that the capture sets each reading.
// No music is played unless startMusic asks for it.
class CaptureSession
{
public:
    // The demo's 640 x 480 screen, or a bigger one that shows the picture
    // scaled as the demo shows it on such a screen: the window stays
    // 640 x 480 and the scaler shows the bigger screen in an off-screen
    // image, which is read back from there. Throws CaptureError when no
    // window or no such image can be made.
    explicit CaptureSession(irr::core::dimension2du screen = {SCREEN_WIDTH, SCREEN_HEIGHT},
                            ScaleMode scale = ScaleMode::Sharp);
    ~CaptureSession();

    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    // Starts the soundtrack as the demo does after loading (the capture's
    // audio driver is silent), for a start-up timed like the demo's. Returns
    // the seconds it took.
    double startMusic();

    // The demo's gentle mode (DemoContext::setGentle), from the next frame on.
    void setGentle(bool on);

    // Pins a registered effect (see EffectDirector::pin); false when unknown.
    bool pin(irr::s32 effectId);

    // One frame as the demo draws it, with the timer at timerMs; when picture
    // is given, the finished frame is read into it (the whole screen). Returns the milliseconds
    // from beginScene to the end of endScene, or until the GPU has finished
    // it when waitForGpu. Throws CaptureError when the window has been closed
    // or resized.
    double drawFrameAt(irr::u32 timerMs, RgbImage* picture = nullptr, bool waitForGpu = false);
    // The same, the frame read as the framebuffer keeps it (for a video).
    void drawFrameAt(irr::u32 timerMs, GpuImage& frame);
    // Ticks the frames of the schedule from the first this session has not
    // ticked yet up to, not including, `frame`, without drawing them
    // (skipFrame): the frames drawn after them come out exactly as from a
    // session that drew every frame, at a fraction of the cost.
    void skipTo(const FrameSchedule& schedule, int frame);
    // beginScene and endScene alone, timed until the GPU has finished: the
    // floor under every frame.
    double drawEmptyFrame();

    // The byte order of the frames drawFrameAt reads as the framebuffer keeps them.
    GpuImage::Order readOrder() const { return reader.readOrder(); }

    float demoTime() const;
    irr::IrrlichtDevice* getDevice() const { return device; }
    irr::video::IVideoDriver* getDriver() const { return driver; }

    // Start-up times in seconds: from the process's start to this session's,
    // creating the device and window, and the context, the director and every
    // effect's init (every asset loaded).
    double processSeconds() const { return processTime; }
    double deviceSeconds() const { return deviceTime; }
    double initSeconds() const { return initTime; }

private:
    // One frame at timerMs, read back into the reader's target when read.
    double drawAt(irr::u32 timerMs, bool read, bool waitForGpu);

    irr::IrrlichtDevice* device = nullptr;
    irr::video::IVideoDriver* driver = nullptr;
    DemoContext* context = nullptr;
    EffectDirector* director = nullptr;
    ScaleMode scaleMode;
    std::unique_ptr<ScreenScaler> scaler;
    BackBufferReader reader;
    int ticks = 0; // frames ticked so far, drawn or not
    double processTime = 0.0;
    double deviceTime = 0.0;
    double initTime = 0.0;
};
