// A demo started part-way through, and a timeline that starts again.
#include "DemoFixture.h"

#include "demo/DemoFrame.h"
#include "demo/DemoStart.h"
#include "demo/Effect.h"
#include "demo/FrameSchedule.h"
#include "effects/Effect1000.h"

namespace
{
// What a run keeps between frames: the demo clock, each effect's start and
// clock, the opening's flash, last trigger and stars.
std::vector<float> keptState(const EffectDirector& director)
{
    std::vector<float> kept = {DemoContext::instance()->getDemoTime()};
    for (const auto& [id, effect] : director.registry())
        kept.insert(kept.end(), {float(effect->hasStarted()), effect->getLocalTime()});
    const auto& opening = static_cast<const Effect1000&>(*director.find(1000));
    kept.insert(kept.end(), {opening.getFlash(), float(opening.getLastTrigger())});
    for (const Effect1000::Particle& p : opening.getParticles())
        kept.insert(kept.end(), {p.position.X, p.position.Y, p.velocity.Y, p.angle});
    return kept;
}

class SeekAndLoop : public DemoFixture
{
protected:
    SeekAndLoop() { director.initAll(); }

    FrameSchedule schedule;
    const int frames = schedule.timelineFrames();
    EffectDirector director;
};
} // namespace

// The frames before the start are ticked without drawing (the capture's pixel
// tests compare such frames with drawn ones); the frame loop's next tick
// draws the first frame at or after the start.
TEST_F(SeekAndLoop, AStartPartWayTicksTheFramesBeforeItWithoutDrawingAndLeavesTheTimerRunning)
{
    const int first = schedule.firstFrameAtOrAfter(61.0f, frames);
    driver.clearRecord();
    irr::ITimer* timer = device->getTimer();
    while (timer->isStopped())
        timer->start(); // the demo's timer runs
    EXPECT_EQ(startDemoAt(director, 61.0f, "..\\data\\stream\\kiru.ogg"), schedule.clockAt(first));
    EXPECT_EQ(context->getDemoTime(), schedule.clockAt(first - 1));
    EXPECT_FALSE(timer->isStopped());
    EXPECT_EQ(timer->getTime(), schedule.timerMs(first));
    for (const char* kept : {"setTransform", "setMaterial", "addDynamicLight", "setAmbientLight"})
        EXPECT_GT(driver.count(kept), 0u) << kept;
    for (const char* dropped : {"beginScene", "draw2DImage", "draw2DRectangle", "drawIndexedTriangleList",
                                "drawMeshBuffer", "setRenderTarget"})
        EXPECT_EQ(driver.count(dropped), 0u) << dropped;
    drawFrame(&driver, director);
    EXPECT_GT(driver.count("drawIndexedTriangleList"), 0u) << "drawing is on again";
}

// The tick that passes the end starts the timeline again as a first tick;
// the second time round, every effect keeps what it kept the first time.
TEST_F(SeekAndLoop, ALoopingTimelineStartsAgainAsAtStartUp)
{
    director.setLooping(true);
    const int late = schedule.firstFrameAtOrAfter(9.5f, frames); // the opening's stars are out
    std::vector<float> firstTime;
    for (int frame = 0; frame <= frames + late; ++frame)
    {
        const bool again = frame >= frames;
        // Round again from the tick after the last frame, with the same steps.
        device->setTimerMs(again ? schedule.timerMs(frames) + schedule.timerMs(frame - frames) - schedule.timerMs(0)
                                 : schedule.timerMs(frame));
        driver.clearRecord();
        skipFrame(director);
        if (frame == frames)
        {
            for (const auto& [id, effect] : director.registry())
                EXPECT_EQ(effect->hasStarted(), id == 1000) << id;
        }
        if (frame == late)
            firstTime = keptState(director);
    }
    EXPECT_EQ(keptState(director), firstTime);
    EXPECT_EQ(context->getDemoTime(), schedule.clockAt(late));
}
