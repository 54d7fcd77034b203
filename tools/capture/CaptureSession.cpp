#include "CaptureSession.h"

#include "CaptureErrors.h"
#include "ProcessClock.h"
#include "assets/Mipmaps.h"
#include "demo/DemoContext.h"
#include "demo/DemoFrame.h"
#include "demo/DemoMain.h"
#include "demo/EffectDirector.h"
#include "demo/FrameSchedule.h"
#include "platform/DemoDevice.h"
#include "platform/X11Window.h"

#include <GL/gl.h>

#include <chrono>

namespace
{
double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double millisecondsSince(std::chrono::steady_clock::time_point start)
{
    return secondsSince(start) * 1000.0;
}
} // namespace

CaptureSession::CaptureSession(irr::core::dimension2du screen, ScaleMode scale)
    : scaleMode(scale), reader({SCREEN_WIDTH, SCREEN_HEIGHT}, screen)
{
    processTime = secondsSinceProcessStart();
    auto start = std::chrono::steady_clock::now();
    DeviceSettings settings;
    settings.windowSize = {SCREEN_WIDTH, SCREEN_HEIGHT};
    device = createDemoDevice(settings, nullptr);
    if (!device)
        throw CaptureError("cannot open a 640x480 OpenGL window: " + whyNoDemoDevice());
    device->setWindowCaption(L"KIRUPO");
    // A window manager may not resize the window: its frames must keep their size.
    keepWindowSize(device, SCREEN_WIDTH, SCREEN_HEIGHT);
    device->run(); // the driver learns the window's final size
    driver = device->getVideoDriver();
    deviceTime = secondsSince(start);
    // Under a window manager the window's very first frame differs from later
    // ones in the last bit of a few pixels. An empty frame goes first (outside
    // the start-up times, as the demo has none), so that a frame comes out the
    // same whether or not others were drawn before it.
    drawEmptyFrame();

    start = std::chrono::steady_clock::now();
    scaler = std::make_unique<ScreenScaler>(scaleMode, driver);
    if (screen != irr::core::dimension2du(SCREEN_WIDTH, SCREEN_HEIGHT))
    {
        if (!scaler->showOffScreen(screen))
            throw CaptureError("this OpenGL cannot make an off-screen image of " + std::to_string(screen.Width) + "x" +
                               std::to_string(screen.Height));
        reader.readFrom(scaler.get());
    }
    context = new DemoContext(device, DemoContext::WithSound, scaler->drawingDriver());
    director = new EffectDirector();
    director->initAll();
    buildMipmaps(driver);
    initTime = secondsSince(start);
    device->getTimer()->stop();
}

CaptureSession::~CaptureSession()
{
    // The demo's own orderly shutdown; the scaler's buffers go while the
    // window's OpenGL context is still there.
    context->stopMusic();
    director->shutdownAll();
    delete director;
    delete context;
    scaler.reset();
    device->drop();
}

double CaptureSession::startMusic()
{
    const auto start = std::chrono::steady_clock::now();
    context->playMusic(MUSIC_PATH);
    return secondsSince(start);
}

void CaptureSession::setGentle(bool on)
{
    context->setGentle(on);
}

bool CaptureSession::pin(irr::s32 effectId)
{
    return director->pin(effectId);
}

double CaptureSession::drawFrameAt(irr::u32 timerMs, RgbImage* picture, bool waitForGpu)
{
    reader.readInto(picture);
    return drawAt(timerMs, picture != nullptr, waitForGpu);
}

void CaptureSession::drawFrameAt(irr::u32 timerMs, GpuImage& frame)
{
    reader.readInto(&frame);
    drawAt(timerMs, true, false);
}

double CaptureSession::drawAt(irr::u32 timerMs, bool read, bool waitForGpu)
{
    // run() handles the window's events; it does not move a stopped timer.
    if (!device->run())
        throw CaptureError("the window was closed");
    device->getTimer()->setTime(timerMs);
    const auto start = std::chrono::steady_clock::now();
    drawFrame(driver, *director, read ? &reader : nullptr, scaler.get());
    ++ticks;
    if (waitForGpu)
        glFinish();
    return millisecondsSince(start);
}

void CaptureSession::skipTo(const FrameSchedule& schedule, int frame)
{
    for (; ticks < frame; ++ticks)
    {
        device->getTimer()->setTime(schedule.timerMs(ticks));
        skipFrame(*director);
    }
}

double CaptureSession::drawEmptyFrame()
{
    if (!device->run())
        throw CaptureError("the window was closed");
    const auto start = std::chrono::steady_clock::now();
    driver->beginScene(true, true, irr::video::SColor(0));
    driver->endScene();
    glFinish();
    return millisecondsSince(start);
}

float CaptureSession::demoTime() const
{
    return context->getDemoTime();
}
