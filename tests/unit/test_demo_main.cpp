// The entry point's run: start-up, the frame loop and the orderly shutdown,
// on a test device whose window activity and timer the test controls.
#include "TestDevice.h"

#include "demo/DemoContext.h"
#include "demo/DemoMain.h"

#include <gtest/gtest.h>

namespace
{
bool deviceReleased = false;
void markReleased()
{
    deviceReleased = true;
}

TestDevice* newDevice(int passes)
{
    deviceReleased = false;
    TestDevice* device = TestDevice::create();
    device->onDestroy = markReleased;
    device->passesLeft = passes;
    device->setTimerMs(1000);
    return device;
}

// Demo times seen at the start of each pass of the loop.
std::vector<float> demoTimes;
void recordDemoTime(TestDevice&)
{
    DemoContext* context = DemoContext::instance();
    demoTimes.push_back(context ? context->getDemoTime() : -1.0f);
}
} // namespace

TEST(DemoRun, DrawsOneFramePerActivePassAndShutsDownInOrder)
{
    TestDevice* device = newDevice(3);

    // The device is released by runDemo, so look at what it saw on the way out.
    struct Seen
    {
        std::vector<std::string> calls;
        std::wstring caption;
    };
    static Seen seen;
    device->onRun = [](TestDevice& d) {
        seen.calls = d.recorder().calls;
        seen.caption = d.caption;
    };
    EXPECT_EQ(runDemo(device), 0);
    EXPECT_TRUE(deviceReleased);
    EXPECT_EQ(DemoContext::instance(), nullptr);

    EXPECT_EQ(seen.caption, L"KIRUPO");
    size_t begins = 0, ends = 0;
    for (const std::string& call : seen.calls)
    {
        begins += call == "beginScene";
        ends += call == "endScene";
    }
    EXPECT_EQ(begins, 3u);
    EXPECT_EQ(ends, 3u);
}

TEST(DemoRun, AnInactiveWindowGetsNoFramesAndThePauseArrivesAtOnce)
{
    TestDevice* device = newDevice(6);
    demoTimes.clear();
    // Passes 1 and 2 are active; 3 to 5 inactive while 4 s go by; 6 active.
    device->onRun = [](TestDevice& d) {
        recordDemoTime(d);
        const int pass = d.runCalls;
        d.windowActive = pass <= 2 || pass == 6;
        d.setTimerMs(pass <= 2 ? 1000 + 20 * pass : 5040);
    };
    EXPECT_EQ(runDemo(device), 0);
    // Start of passes 1..7: pass 1 ticks first (no advance), pass 2 adds
    // 20 ms, nothing moves while inactive, pass 6 adds the whole pause.
    ASSERT_EQ(demoTimes.size(), 7u);
    EXPECT_EQ(demoTimes[1], 0.0f);
    EXPECT_FLOAT_EQ(demoTimes[2], 0.02f);
    EXPECT_FLOAT_EQ(demoTimes[5], 0.02f);
    EXPECT_FLOAT_EQ(demoTimes[6], 0.02f + 4.0f);
}

TEST(DemoRun, ClosingTheDeviceRunsTheOrderlyShutdownAndReturnsZero)
{
    TestDevice* device = newDevice(1000);
    device->onRun = [](TestDevice& d) {
        if (d.runCalls == 3)
            d.closeDevice(); // what Escape and the window's close button do
    };
    EXPECT_EQ(runDemo(device), 0);
    EXPECT_TRUE(deviceReleased);
    EXPECT_EQ(DemoContext::instance(), nullptr);
}
