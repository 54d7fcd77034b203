#include "demo/DemoMain.h"

#include "assets/Mipmaps.h"
#include "demo/DemoContext.h"
#include "demo/DemoFrame.h"
#include "demo/DemoStart.h"
#include "demo/EffectDirector.h"
#include "platform/StopSignals.h"
#include "platform/WindowEvents.h"

namespace
{
// While the window is inactive the loop sleeps this long at most between
// looks at the window's events, so that Escape, a close or a stop signal
// is answered well within 50 ms.
constexpr int IDLE_WAIT_MS = 20;

// Whether the timeline has run out by the music's clock: the demo time the
// music started at, plus the engine time since then. An inactive window's
// demo clock stands still, but the music plays on to its end.
bool timelineOverByMusic(float musicFrom, irr::u32 musicStartMs, irr::u32 nowMs)
{
    const double seconds = musicFrom + static_cast<double>(nowMs - musicStartMs) / 1000.0;
    return EffectDirector::effectAt(static_cast<float>(seconds)) == 0;
}
} // namespace

int runDemo(irr::IrrlichtDevice* device, const RunSettings& settings)
{
    device->setWindowCaption(L"KIRUPO");
    irr::video::IVideoDriver* driver = device->getVideoDriver();
    ScreenScaler scaler(settings.scale, driver);
    DemoContext* context = new DemoContext(device, settings.mute ? DemoContext::Silent : DemoContext::WithSound,
                                           scaler.drawingDriver());
    context->setGentle(settings.gentle);
    EffectDirector* director = new EffectDirector();
    // Every asset is loaded before the music starts, so picture and sound start together.
    director->initAll();
    buildMipmaps(driver);
    director->setLooping(settings.loop);
    const float musicFrom = startDemoAt(*director, settings.start, MUSIC_PATH);
    const irr::u32 musicStartMs = device->getTimer()->getTime();

    while (!stopSignal() && device->run())
    {
        // An inactive window gets no frames; the next active frame's tick
        // sees the whole pause at once and the picture catches up with the music.
        if (!device->isWindowActive())
        {
            // A window that never becomes active still ends with the music.
            if (!settings.loop && timelineOverByMusic(musicFrom, musicStartMs, device->getTimer()->getTime()))
                break;
            waitForWindowEvents(device, IDLE_WAIT_MS);
            continue;
        }
        drawFrame(driver, *director, nullptr, &scaler);
    }

    context->stopMusic();
    director->shutdownAll();
    delete director;
    delete context;
    scaler.releaseBuffers();
    device->drop();
    const int signal = stopSignal();
    return signal ? exitCodeForSignal(signal) : 0;
}
