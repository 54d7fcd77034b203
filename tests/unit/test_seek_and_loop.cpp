// Frames ticked without drawing, a demo started part-way through and a
// timeline that starts again: each must leave the demo clock and every effect
// where a run that draws every frame from 0 has them.
#include "DemoFixture.h"
#include "ScratchDataTree.h"

#include "demo/DemoFrame.h"
#include "demo/DemoStart.h"
#include "demo/Effect.h"
#include "demo/FrameSchedule.h"
#include "effects/Effect1000.h"

#include <algorithm>
#include <limits>
#include <map>
#include <set>

using namespace irr;

namespace
{
// What a run keeps between frames, and what its latest frame drew.
struct RunState
{
    float clock = 0.0f;
    std::map<s32, std::pair<bool, float>> effects; // started, local time
    f32 flash = 0.0f;
    s32 lastTrigger = 0;
    std::vector<core::vector3df> particles; // position, velocity and angle of each star

    std::vector<std::string> calls;
    std::vector<core::matrix4> transforms; // in force at each draw (what a frame leaves behind does not show)
    std::vector<video::SMaterial> materials;
    std::vector<video::S3DVertex> vertices;
    std::vector<core::recti> areas; // rectangles, then image destinations
    std::vector<video::ITexture*> renderTargets;

    RunState(const EffectDirector& director, const DemoContext& context, const RecordingDriver& driver)
        : clock(context.getDemoTime()), calls(driver.calls), materials(driver.materials)
    {
        for (const auto& [id, effect] : director.registry())
            effects[id] = {effect->hasStarted(), effect->getLocalTime()};
        const auto& opening = static_cast<const Effect1000&>(*director.find(1000));
        flash = opening.getFlash();
        lastTrigger = opening.getLastTrigger();
        for (const Effect1000::Particle& p : opening.getParticles())
            particles.insert(particles.end(), {p.position, p.velocity, core::vector3df(p.angle, p.halfSize, 0)});
        for (const auto& drawn : driver.triangles)
        {
            vertices.insert(vertices.end(), drawn.vertices.begin(), drawn.vertices.end());
            transforms.insert(transforms.end(), {drawn.projection, drawn.view, drawn.world});
        }
        for (const auto& drawn : driver.meshBuffers)
            transforms.insert(transforms.end(), {drawn.projection, drawn.view, drawn.world});
        for (const auto& rectangle : driver.rectangles)
            areas.push_back(rectangle.area);
        for (const auto& image : driver.images)
            areas.push_back(image.destination);
        for (const auto& target : driver.renderTargets)
            renderTargets.push_back(target.texture);
    }
};

void expectSame(const RunState& drawn, const RunState& other, const std::string& where)
{
    SCOPED_TRACE(where);
    EXPECT_EQ(other.clock, drawn.clock);
    EXPECT_EQ(other.effects, drawn.effects);
    EXPECT_EQ(other.flash, drawn.flash);
    EXPECT_EQ(other.lastTrigger, drawn.lastTrigger);
    EXPECT_EQ(other.particles, drawn.particles);
    EXPECT_EQ(other.calls, drawn.calls);
    EXPECT_TRUE(other.transforms == drawn.transforms);
    EXPECT_TRUE(other.materials == drawn.materials);
    EXPECT_TRUE(other.vertices == drawn.vertices);
    EXPECT_EQ(other.areas, drawn.areas);
    EXPECT_EQ(other.renderTargets, drawn.renderTargets);
}

class SeekAndLoop : public DemoFixture
{
protected:
    SeekAndLoop()
    {
        // Models, so that the flights draw their mesh buffers.
        const char* triangle = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n";
        for (const char* name : {"arks3", "arks5", "shape_1a", "town_04"})
            tree.writeFile(std::string("data/models/") + name + ".obj", triangle);
    }

    // A freshly started demo: a new context and director, every effect initialised.
    std::unique_ptr<EffectDirector> freshDemo()
    {
        context.reset();
        context.reset(new DemoContext(device));
        auto director = std::make_unique<EffectDirector>();
        director->initAll();
        return director;
    }

    // Frames 0 up to the last checkpoint at 60 fps, those before firstDrawn
    // ticked without drawing; the state after each checkpoint's frame.
    std::vector<RunState> run(int firstDrawn, const std::vector<int>& checkpoints)
    {
        std::unique_ptr<EffectDirector> director = freshDemo();
        std::vector<RunState> states;
        for (int frame = 0; frame <= checkpoints.back(); ++frame)
        {
            device->setTimerMs(schedule.timerMs(frame));
            driver.clearRecord();
            if (frame < firstDrawn)
            {
                skipFrame(*director);
                callsWhileSkipping.insert(driver.calls.begin(), driver.calls.end());
            }
            else
                drawFrame(&driver, *director);
            if (std::find(checkpoints.begin(), checkpoints.end(), frame) != checkpoints.end())
                states.emplace_back(*director, *context, driver);
        }
        return states;
    }

    ScratchDataTree tree;
    FrameSchedule schedule;
    std::set<std::string> callsWhileSkipping;
};
} // namespace

// Where a fast-forward can go wrong: the opening's star burst late in its
// section, the first frames after the flight that draws into a render
// target, and a section near the end.
TEST_F(SeekAndLoop, FramesAfterSkippedOnesAreThoseOfARunThatDrawsEveryFrame)
{
    const int frames = schedule.timelineFrames();
    const std::vector<int> checkpoints = {
        schedule.lastFrameAtOrBefore(10.1f, frames),
        schedule.lastFrameAtOrBefore(20.208f, frames) + 1,
        schedule.firstFrameAtOrAfter(65.0f, frames),
    };
    const std::vector<RunState> drawn = run(0, checkpoints);
    ASSERT_EQ(drawn[0].particles.size(), 3u * Effect1000::PARTICLE_COUNT);
    EXPECT_TRUE(drawn[1].effects.at(2500).first) << "the title pulse has begun";
    for (std::size_t i = 0; i < checkpoints.size(); ++i)
    {
        const std::vector<RunState> skipped = run(checkpoints[i], {checkpoints[i]});
        expectSame(drawn[i], skipped[0], "frame " + std::to_string(checkpoints[i]));
    }

    // Skipped frames left the driver's state as drawn ones do, and drew nothing.
    for (const char* kept : {"setTransform", "setMaterial", "addDynamicLight", "setAmbientLight"})
        EXPECT_EQ(callsWhileSkipping.count(kept), 1u) << kept;
    for (const char* dropped : {"beginScene", "endScene", "draw2DImage", "draw2DRectangle", "drawIndexedTriangleList",
                                "drawMeshBuffer", "setRenderTarget"})
        EXPECT_EQ(callsWhileSkipping.count(dropped), 0u) << dropped;
    EXPECT_EQ(context->getDriver(), &driver) << "drawing is back on after a skipped frame";
}

TEST_F(SeekAndLoop, AStartPartWayTicksTheFramesBeforeAndRunsOnFromThere)
{
    const int frames = schedule.timelineFrames();
    const int target = schedule.firstFrameAtOrAfter(61.0f, frames);
    const std::vector<RunState> drawn = run(0, {target});

    std::unique_ptr<EffectDirector> director = freshDemo();
    ITimer* timer = device->getTimer();
    device->setTimerMs(123456);
    while (timer->isStopped())
        timer->start(); // the demo's timer runs
    driver.clearRecord();
    const float from = startDemoAt(*director, 61.0f, "..\\data\\stream\\kiru.ogg");
    EXPECT_EQ(from, schedule.clockAt(target));
    EXPECT_GE(from, 61.0f);
    EXPECT_LT(schedule.clockAt(target - 1), 61.0f);
    EXPECT_EQ(context->getDemoTime(), schedule.clockAt(target - 1)) << "the frame at 61 s is the loop's to draw";
    EXPECT_EQ(driver.count("draw2DRectangle") + driver.count("drawIndexedTriangleList"), 0u);
    EXPECT_FALSE(timer->isStopped()) << "the timer is left running";
    EXPECT_EQ(timer->getTime(), schedule.timerMs(target));

    // The frame loop's next tick, with no time gone by, draws that frame.
    device->setTimerMs(schedule.timerMs(target));
    driver.clearRecord();
    drawFrame(&driver, *director);
    expectSame(drawn[0], RunState(*director, *context, driver), "the first frame drawn");

    // At 0 nothing is skipped: the next tick is the first, as in any start.
    director = freshDemo();
    EXPECT_EQ(startDemoAt(*director, 0.0f, "..\\data\\stream\\kiru.ogg"), 0.0f);
    EXPECT_FALSE(director->find(1000)->hasStarted());
    device->setTimerMs(99999);
    director->tick();
    EXPECT_EQ(context->getDemoTime(), 0.0f);

    // Past the last 60 fps step of the timeline the start stops at that step.
    director = freshDemo();
    EXPECT_EQ(startDemoAt(*director, 70.7279f, "..\\data\\stream\\kiru.ogg"), schedule.clockAt(frames - 1));
    device->setTimerMs(schedule.timerMs(frames - 1));
    director->tick(); // still on the timeline: the process goes on
    EXPECT_TRUE(director->find(1900)->hasStarted());
}

TEST(StartTime, TheDemoStartsAnywhereFromZeroToJustBeforeTheEnd)
{
    for (float ok : {0.0f, 0.001f, 35.0f, 70.7279f})
        EXPECT_TRUE(canStartAt(ok)) << ok;
    for (float bad : {-0.001f, EffectDirector::TIMELINE_END, 71.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity()})
        EXPECT_FALSE(canStartAt(bad)) << bad;
}

// The tick that passes the end starts the timeline again as a first tick,
// and the second time round draws exactly what the first did.
TEST_F(SeekAndLoop, ALoopingTimelineStartsAgainAsAtStartUp)
{
    std::unique_ptr<EffectDirector> director = freshDemo();
    director->setLooping(true);
    const int frames = schedule.timelineFrames();
    const std::vector<int> checkpoints = {schedule.firstFrameAtOrAfter(9.5f, frames),
                                          schedule.firstFrameAtOrAfter(15.0f, frames),
                                          schedule.firstFrameAtOrAfter(20.3f, frames)};
    std::vector<RunState> firstTime, secondTime;
    // The second time round starts at the tick after the timeline's last
    // frame, its timer readings as far apart as the first time's.
    const u32 restartMs = schedule.timerMs(frames);
    for (int frame = 0; frame <= frames + checkpoints.back(); ++frame)
    {
        const bool again = frame >= frames;
        device->setTimerMs(again ? restartMs + schedule.timerMs(frame - frames) - schedule.timerMs(0)
                                 : schedule.timerMs(frame));
        driver.clearRecord();
        drawFrame(&driver, *director);
        if (frame == frames)
        {
            EXPECT_EQ(context->getDemoTime(), 0.0f);
            for (const auto& [id, effect] : director->registry())
                EXPECT_EQ(effect->hasStarted(), id == 1000) << id;
            EXPECT_EQ(director->find(1000)->getLocalTime(), 0.0f);
        }
        for (int checkpoint : checkpoints)
            if (frame == checkpoint || frame == frames + checkpoint)
                (again ? secondTime : firstTime).emplace_back(*director, *context, driver);
    }
    ASSERT_EQ(secondTime.size(), firstTime.size());
    for (std::size_t i = 0; i < firstTime.size(); ++i)
        expectSame(firstTime[i], secondTime[i], "frame " + std::to_string(checkpoints[i]) + " again");
    EXPECT_FALSE(firstTime[0].particles.empty());
}
