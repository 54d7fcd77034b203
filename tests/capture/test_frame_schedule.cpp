// The capture's frame schedule against the director it predicts: the demo
// clock it works out for every frame must be the one the real director
// reaches when the timer is set as scheduled.
#include "DemoFixture.h"
#include "demo/FrameSchedule.h"

#include <cmath>

namespace
{
class FrameScheduleTest : public DemoFixture
{
};
} // namespace

TEST(FrameSchedule, TimerReadingsStartAt1000AndStepByWholeMillisecondsRoundedDown)
{
    FrameSchedule sixty(60);
    EXPECT_EQ(sixty.timerMs(0), 1000u);
    EXPECT_EQ(sixty.timerMs(1), 1016u); // 16.67 ms rounded down
    EXPECT_EQ(sixty.timerMs(2), 1033u);
    EXPECT_EQ(sixty.timerMs(3), 1050u);
    EXPECT_EQ(sixty.timerMs(60), 2000u);
    // No overflow in i * 1000 for long captures at high rates.
    FrameSchedule fast(1000);
    EXPECT_EQ(fast.timerMs(3000000), 3001000u);
}

TEST_F(FrameScheduleTest, ClocksAreExactlyTheDirectorsOverTheWholeTimelineAtEveryRate)
{
    for (int fps : {1, 7, 24, 25, 30, 60, 144})
    {
        context.reset();
        context.reset(new DemoContext(device));
        EffectDirector director;
        ASSERT_TRUE(director.pin(1600)); // never ends the process, draws nothing
        FrameSchedule schedule(fps);
        const int frames = schedule.timelineFrames();
        for (int i = 0; i <= frames; ++i)
        {
            device->setTimerMs(schedule.timerMs(i));
            director.tick();
            ASSERT_EQ(context->getDemoTime(), schedule.clockAt(i)) << fps << " fps, frame " << i;
        }
    }
}

TEST(FrameSchedule, TheTimelineEndsWithTheLastFrameItShows)
{
    for (int fps : {1, 2, 60, 1000})
    {
        FrameSchedule schedule(fps);
        const int frames = schedule.timelineFrames();
        EXPECT_NE(EffectDirector::effectAt(schedule.clockAt(frames - 1)), 0) << fps;
        EXPECT_EQ(EffectDirector::effectAt(schedule.clockAt(frames)), 0) << fps;
        // About 70.7 s of frames; float sums of many small steps run behind.
        EXPECT_NEAR(frames / static_cast<double>(fps), EffectDirector::timelineEnd(), 1.0 / fps + 0.05) << fps;
    }
    // At 2 fps the clock is exact: frames 0 .. 141 cover 0 .. 70.5 s.
    EXPECT_EQ(FrameSchedule(2).timelineFrames(), 142);
}

TEST(FrameSchedule, FindsTheFirstFrameAtOrAfterAndTheLastAtOrBeforeATime)
{
    FrameSchedule schedule(60);
    const int frames = schedule.timelineFrames();
    for (float t : {0.0f, 0.001f, 1.0f, 10.104f, 10.11f, 65.0f, schedule.clockAt(frames - 1)})
    {
        const int first = schedule.firstFrameAtOrAfter(t, frames);
        ASSERT_GE(first, 0) << t;
        EXPECT_GE(schedule.clockAt(first), t);
        if (first > 0)
        {
            EXPECT_LT(schedule.clockAt(first - 1), t);
        }
        const int last = schedule.lastFrameAtOrBefore(t, frames);
        ASSERT_GE(last, 0) << t;
        EXPECT_LE(schedule.clockAt(last), t);
        if (last + 1 < frames)
        {
            EXPECT_GT(schedule.clockAt(last + 1), t);
        }
    }
    // The float sum runs slightly behind i / 60: 65 s is reached one frame late.
    EXPECT_LT(schedule.clockAt(3900), 65.0f);
    EXPECT_EQ(schedule.firstFrameAtOrAfter(65.0f, frames), 3901);

    EXPECT_EQ(schedule.firstFrameAtOrAfter(70.8f, frames), -1);
    EXPECT_EQ(schedule.lastFrameAtOrBefore(-1.0f, frames), -1);
    EXPECT_EQ(schedule.firstFrameAtOrAfter(0.0f, 0), -1);
    // Beyond the timeline when asked to look there (a pinned effect).
    EXPECT_GT(schedule.firstFrameAtOrAfter(100.0f, 6100), frames);
}
