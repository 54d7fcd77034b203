// The process-wide context: its lifetime, the demo clock and the music.
#include "DemoFixture.h"

TEST(ContextLifetime, InstanceExistsOnlyWhileTheContextDoes)
{
    EXPECT_EQ(DemoContext::instance(), nullptr);
    TestDevice* device = TestDevice::create();
    {
        DemoContext context(device);
        EXPECT_EQ(DemoContext::instance(), &context);
        EXPECT_EQ(context.getDevice(), device);
        EXPECT_EQ(context.getDriver(), &device->recorder());
        EXPECT_NE(context.getSceneManager(), nullptr);
    }
    EXPECT_EQ(DemoContext::instance(), nullptr);
    device->drop();
}

class ContextTest : public DemoFixture
{
};

TEST_F(ContextTest, DemoClockStartsAtZeroAndMovesOnlyByAddTime)
{
    EXPECT_EQ(context->getDemoTime(), 0.0f);
    context->addTime(0.0f);
    EXPECT_EQ(context->getDemoTime(), 0.0f);
    context->addTime(0.1f);
    context->addTime(0.2f);
    EXPECT_EQ(context->getDemoTime(), 0.1f + 0.2f); // single-precision sums
}

TEST_F(ContextTest, MissingMusicPlaysSilentlyAndStopsCleanly)
{
    context->playMusic("..\\no-such-data\\stream\\kiru.ogg");
    EXPECT_EQ(context->musicPosition(), 0.0f);
    context->stopMusic();
    EXPECT_EQ(context->musicPosition(), 0.0f);
}
