// The demo clock and the timeline: how ticks turn timer readings into demo
// time, which effect each demo time selects, and how the demo ends.
#include "DemoFixture.h"

#include "demo/Effect.h"
#include "demo/EffectTable.h"

#include <algorithm>

#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
// The demo's own effects; the table may hold more.
const irr::s32 DEMO_IDS[] = {1000, 1100, 1200, 1300, 1500, 1600, 1900, 2200, 2500};

struct Boundary
{
    float lastTime;  // the last demo time of the section
    irr::s32 before; // effect shown up to and including lastTime
    irr::s32 after;  // effect shown from the next float above it (0: the end)
};
const Boundary BOUNDARIES[] = {
    {10.104f, 1000, 1500}, {20.208f, 1500, 2500}, {30.312f, 2500, 1100},
    {50.52f, 1100, 2200},  {60.624f, 2200, 1900}, {70.728f, 1900, 0},
};

float nextFloatAbove(float t)
{
    return std::nextafter(t, std::numeric_limits<float>::infinity());
}

class DirectorTest : public DemoFixture
{
protected:
    EffectDirector director;

    void tickAt(irr::u32 timerMs)
    {
        device->setTimerMs(timerMs);
        director.tick();
    }
    // Effects that have drawn at least one frame.
    std::vector<irr::s32> startedEffects() const
    {
        std::vector<irr::s32> started;
        for (const auto& entry : director.registry())
            if (entry.second->hasStarted())
                started.push_back(entry.first);
        return started;
    }
};
} // namespace

TEST(Timeline, EachBoundaryBelongsToTheEarlierSectionAndTheNextFloatToTheLater)
{
    EXPECT_EQ(EffectDirector::effectAt(0.0f), 1000);
    for (const Boundary& b : BOUNDARIES)
    {
        EXPECT_EQ(EffectDirector::effectAt(b.lastTime), b.before) << b.lastTime;
        EXPECT_EQ(EffectDirector::effectAt(nextFloatAbove(b.lastTime)), b.after) << b.lastTime;
    }
    EXPECT_EQ(EffectDirector::timelineEnd(), BOUNDARIES[5].lastTime);
}

TEST_F(DirectorTest, RegistryHoldsEveryEffectOfTheTableOnceInAscendingIdOrder)
{
    std::vector<irr::s32> tableIds;
    for (const EffectRegistration& row : effectTable())
        tableIds.push_back(row.id);
    std::sort(tableIds.begin(), tableIds.end());
    EXPECT_EQ(std::adjacent_find(tableIds.begin(), tableIds.end()), tableIds.end()) << "an id registered twice";

    std::vector<irr::s32> ids;
    for (const auto& entry : director.registry())
    {
        ids.push_back(entry.first);
        EXPECT_NE(entry.second, nullptr);
    }
    EXPECT_EQ(ids, tableIds);
    for (irr::s32 id : DEMO_IDS)
        EXPECT_NE(director.find(id), nullptr) << id;
    for (const TimelineSection& section : timelineSections())
        EXPECT_NE(director.find(section.effect->id), nullptr) << "the timeline shows an unregistered effect";
    EXPECT_EQ(director.find(1400), nullptr);
}

TEST_F(DirectorTest, TickAtEachBoundaryUpdatesTheEffectOfThatSection)
{
    for (const Boundary& b : BOUNDARIES)
    {
        for (float t : {b.lastTime, nextFloatAbove(b.lastTime)})
        {
            if (EffectDirector::effectAt(t) == 0)
                continue; // the end of the timeline has its own test
            DemoContext* previous = context.release();
            delete previous;
            context.reset(new DemoContext(device));
            EffectDirector fresh;
            context->addTime(t);
            device->setTimerMs(1000);
            fresh.tick(); // the first tick: the clock stays at t
            for (const auto& entry : fresh.registry())
                EXPECT_EQ(entry.second->hasStarted(), entry.first == EffectDirector::effectAt(t))
                    << "t=" << t << " effect " << entry.first;
        }
    }
}

TEST_F(DirectorTest, FirstTickNeverAdvancesTheClockAndTheSecondAddsTheTimeSinceTheFirst)
{
    tickAt(3600000); // an hour of start-up
    EXPECT_EQ(context->getDemoTime(), 0.0f);
    tickAt(3600016);
    EXPECT_FLOAT_EQ(context->getDemoTime(), 0.016f);
    tickAt(3600050);
    EXPECT_FLOAT_EQ(context->getDemoTime(), 0.016f + 0.034f);
}

TEST_F(DirectorTest, ATimerReadingOfZeroMakesTheNextTickCountAsTheFirstAgain)
{
    tickAt(0);
    tickAt(500);
    EXPECT_EQ(context->getDemoTime(), 0.0f);
    tickAt(750);
    EXPECT_FLOAT_EQ(context->getDemoTime(), 0.25f);
}

TEST_F(DirectorTest, DeltaIsExactForLargeTimerReadings)
{
    // 2^24 + 1 ms is not a float; the difference must still be taken exactly.
    tickAt(16777217u);
    tickAt(16777217u + 17u);
    EXPECT_EQ(context->getDemoTime(), 0.017f);
}

TEST_F(DirectorTest, ALongStallJumpsTheClockAndSkipsWholeSections)
{
    tickAt(1000);
    tickAt(1016);
    tickAt(1000 + 35000); // the frame loop stood still for half a minute
    EXPECT_FLOAT_EQ(context->getDemoTime(), 35.0f);
    EXPECT_EQ(startedEffects(), (std::vector<irr::s32>{1000, 1100}));
}

TEST_F(DirectorTest, AnEffectsClockStaysAtZeroOnItsFirstFrameAndCountsOnlyItsOwnFrames)
{
    tickAt(5000);
    Effect* opening = director.find(1000);
    EXPECT_TRUE(opening->hasStarted());
    EXPECT_EQ(opening->getLocalTime(), 0.0f); // the 5 s first dt is ignored
    tickAt(5020);
    EXPECT_FLOAT_EQ(opening->getLocalTime(), 0.02f);

    // The second section's clock starts at 0 whenever it is first selected.
    tickAt(5020 + 12000);
    Effect* second = director.find(1500);
    EXPECT_TRUE(second->hasStarted());
    EXPECT_EQ(second->getLocalTime(), 0.0f);
    EXPECT_FLOAT_EQ(opening->getLocalTime(), 0.02f);
    tickAt(5020 + 12100);
    EXPECT_FLOAT_EQ(second->getLocalTime(), 0.1f);
}

TEST_F(DirectorTest, EffectsThatAnimateByTheDemoClockKeepTheirOwnClockAtZero)
{
    for (irr::s32 id : {1200, 1300})
    {
        Effect* effect = director.find(id);
        effect->update(1.0f);
        effect->update(1.0f);
        EXPECT_EQ(effect->getLocalTime(), 0.0f) << id;
    }
}

namespace
{
void reportDeviceReleased()
{
    std::fputs("device released\n", stderr);
}
} // namespace

TEST_F(DirectorTest, PassingTheEndOfTheTimelineEndsTheProcessWithZeroAfterReleasingTheDevice)
{
    tickAt(1000);
    context->addTime(70.728f);
    tickAt(1000); // exactly the end: still the last section
    EXPECT_TRUE(director.find(1900)->hasStarted());

    device->onDestroy = reportDeviceReleased;
    EXPECT_EXIT(tickAt(1001), ::testing::ExitedWithCode(0), "device released");
    device->onDestroy = nullptr;
}

TEST_F(DirectorTest, APinnedEffectDrawsEveryFrameInsteadOfTheTimelineAndPastItsEnd)
{
    EXPECT_FALSE(director.pin(1400));
    ASSERT_TRUE(director.pin(1600)); // an effect the timeline never selects
    Effect* pinned = director.find(1600);
    tickAt(1000);
    EXPECT_EQ(pinned->getLocalTime(), 0.0f); // its clock starts with its first frame
    tickAt(1500);
    EXPECT_FLOAT_EQ(pinned->getLocalTime(), 0.5f);

    // Far past the end of the timeline the process goes on and the clock too.
    tickAt(1500 + 100000);
    EXPECT_FLOAT_EQ(context->getDemoTime(), 100.5f);
    EXPECT_FLOAT_EQ(pinned->getLocalTime(), 100.5f);
    EXPECT_EQ(startedEffects(), std::vector<irr::s32>{1600});
}

TEST_F(DirectorTest, PinningAnUnknownIdKeepsTheEffectAlreadyPinned)
{
    ASSERT_TRUE(director.pin(1200));
    EXPECT_FALSE(director.pin(0));
    tickAt(1000);
    EXPECT_FALSE(director.find(1000)->hasStarted()); // the timeline's choice was not asked
}
