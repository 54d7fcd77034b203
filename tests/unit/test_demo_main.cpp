// The entry point's run: start-up, the frame loop and the orderly shutdown,
// on a test device whose window activity and timer the test controls; stop
// signals; the command line and the choice of display method.
#include "TestDevice.h"

#include "demo/CommandLine.h"
#include "demo/DemoContext.h"
#include "demo/DemoMain.h"
#include "demo/EffectDirector.h"
#include "platform/StopSignals.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>

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

int stopSignalUnderTest = 0;

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

TEST(DemoRun, AWindowThatNeverBecomesActiveEndsWithTheMusic)
{
    // Every pass is inactive and one second later than the one before; the
    // music starts with the first. It ends on the first pass past the
    // timeline's end by the music's clock, counted from the demo time the
    // music started at, in order and with 0; looping, it never ends.
    struct Run
    {
        float start;
        bool loop;
    };
    for (const Run& run : {Run{0.0f, false}, Run{60.0f, false}, Run{60.0f, true}})
    {
        const int passes = run.loop ? 30 : 200;
        TestDevice* device = newDevice(passes);
        device->windowActive = false;
        static irr::u32 firstPassMs;
        static int lastPass, frames;
        frames = 0;
        device->onRun = [](TestDevice& d) {
            lastPass = d.runCalls;
            if (d.runCalls == 1)
                firstPassMs = d.getTimer()->getTime();
            d.setTimerMs(firstPassMs + 1000 * (d.runCalls - 1));
            for (const std::string& call : d.recorder().calls)
                frames += call == "beginScene";
        };
        RunSettings settings;
        settings.start = run.start;
        settings.loop = run.loop;
        EXPECT_EQ(runDemo(device, settings), 0) << run.start;
        EXPECT_TRUE(deviceReleased);
        EXPECT_EQ(frames, 0) << "an inactive window gets no frames";
        // Pass p is p - 1 seconds after the music started.
        const int passPastTheEnd = static_cast<int>(std::floor(EffectDirector::timelineEnd() - run.start)) + 2;
        EXPECT_EQ(lastPass, run.loop ? passes + 1 : passPastTheEnd) << "start " << run.start << " loop " << run.loop;
    }
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

TEST(DemoRun, AStopSignalEndsTheRunInOrderWithTheSignalsExitCode)
{
    // Started under nohup the tests inherit an ignored SIGHUP, which the demo
    // keeps ignoring (checked below): here every signal starts at its default.
    struct sigaction inherited;
    sigaction(SIGHUP, nullptr, &inherited);
    std::signal(SIGHUP, SIG_DFL);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT})
    {
        installStopSignals();
        TestDevice* device = newDevice(1000);
        static int lastPass;
        device->onRun = [](TestDevice& d) {
            lastPass = d.runCalls;
            if (d.runCalls == 3)
                raise(stopSignalUnderTest);
        };
        stopSignalUnderTest = signal;
        EXPECT_EQ(runDemo(device), 128 + signal) << signal;
        EXPECT_EQ(lastPass, 3) << "the loop ends with the pass that saw signal " << signal;
        EXPECT_TRUE(deviceReleased) << signal;
        EXPECT_EQ(DemoContext::instance(), nullptr) << signal;
    }
    installStopSignals(); // forget the last one: later runs in this process must not stop

    std::signal(SIGHUP, SIG_IGN);
    installStopSignals();
    struct sigaction hangUp;
    sigaction(SIGHUP, nullptr, &hangUp);
    EXPECT_EQ(hangUp.sa_handler, SIG_IGN) << "a hang-up ignored by nohup stays ignored";
    sigaction(SIGHUP, &inherited, nullptr);
}

TEST(DemoRunDeathTest, ASecondStopSignalEndsTheProcessAtOnce)
{
    EXPECT_EXIT(
        {
            installStopSignals();
            raise(SIGTERM); // the orderly stop begins...
            raise(SIGINT);  // ...and a second signal does not wait for it
            std::exit(0);
        },
        testing::ExitedWithCode(128 + SIGINT), "");
}

TEST(DemoCommandLine, ReadsTheDisplayMethodsAndOptions)
{
    const DemoOptions none = parseDemoOptions({});
    EXPECT_EQ(none.display, DisplayMethod::Automatic);
    EXPECT_EQ(none.scale, ScaleMode::Sharp);
    EXPECT_FALSE(none.vsync || none.mute || none.loop || none.help);
    EXPECT_EQ(none.start, 0.0f);

    EXPECT_EQ(parseDemoOptions({"--fullscreen"}).display, DisplayMethod::Fullscreen);
    EXPECT_EQ(parseDemoOptions({"--desktop"}).display, DisplayMethod::Desktop);
    const DemoOptions window = parseDemoOptions({"--window"});
    EXPECT_EQ(window.display, DisplayMethod::Window);
    EXPECT_EQ(window.windowSize, irr::core::dimension2du(640, 480));
    EXPECT_EQ(parseDemoOptions({"--window=1280x1024"}).windowSize, irr::core::dimension2du(1280, 1024));

    const DemoOptions all = parseDemoOptions({"--scale", "integer", "--vsync", "--mute", "--start", "61.5", "--loop"});
    EXPECT_EQ(all.scale, ScaleMode::Integer);
    EXPECT_TRUE(all.vsync && all.mute && all.loop);
    EXPECT_EQ(all.start, 61.5f);
    EXPECT_EQ(parseDemoOptions({"--scale=smooth"}).scale, ScaleMode::Smooth);
    EXPECT_TRUE(parseDemoOptions({"--help"}).help);
    EXPECT_TRUE(parseDemoOptions({"-h"}).help);
    EXPECT_TRUE(parseDemoOptions({"--version"}).version);
}

TEST(DemoCommandLine, NonsenseIsOneLineNamingTheArgument)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--bogus"}, "--bogus"},
        {{"extra"}, "extra"},
        {{"--window=0x480"}, "--window"},
        {{"--window=-640x480"}, "--window"},
        {{"--window=640"}, "--window"},
        {{"--window=320x240"}, "--window"},
        {{"--window=640x480x2"}, "--window"},
        {{"--desktop", "--window"}, "--window"},
        {{"--fullscreen", "--desktop"}, "--desktop"},
        {{"--scale", "blurry"}, "--scale"},
        {{"--scale"}, "--scale"},
        {{"--vsync=yes"}, "--vsync"},
        {{"--start", "-0.5"}, "--start"},
        {{"--start", "70.728"}, "--start"},
        {{"--start", "nan"}, "--start"},
        {{"--start", "ten"}, "--start"},
    };
    for (const auto& [args, named] : bad)
    {
        try
        {
            parseDemoOptions(args);
            ADD_FAILURE() << "accepted: " << args.front();
        }
        catch (const DemoUsageError& e)
        {
            const std::string line = e.what();
            EXPECT_NE(line.find(named), std::string::npos) << line;
            EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        }
    }
}

TEST(DisplayPlan, FullscreenOnlyWhereTheScreenOffers640x480)
{
    DisplayFacts oneMonitor;
    oneMonitor.has640x480Mode = true;
    oneMonitor.monitorSize = irr::core::dimension2du(1920, 1080);
    DisplayFacts noSuchMode = oneMonitor;
    noSuchMode.has640x480Mode = false;
    DisplayFacts twoMonitors = oneMonitor;
    twoMonitors.activeMonitors = 2;
    const irr::core::dimension2du window(800, 600);

    const DisplayPlan automatic = planDisplay(DisplayMethod::Automatic, window, false, oneMonitor);
    EXPECT_EQ(automatic.method, DisplayMethod::Fullscreen);
    EXPECT_TRUE(automatic.device.fullscreen);
    EXPECT_EQ(automatic.device.windowSize, irr::core::dimension2du(640, 480));
    EXPECT_TRUE(automatic.notice.empty());

    for (const DisplayFacts& facts : {noSuchMode, twoMonitors})
    {
        const DisplayPlan plan = planDisplay(DisplayMethod::Automatic, window, true, facts);
        EXPECT_EQ(plan.method, DisplayMethod::Desktop);
        EXPECT_FALSE(plan.device.fullscreen);
        EXPECT_EQ(plan.device.windowSize, irr::core::dimension2du(1920, 1080));
        EXPECT_TRUE(plan.device.vsync);
        EXPECT_TRUE(plan.notice.empty());
    }

    // Asked for, fullscreen is honoured on several monitors, but not without the mode.
    EXPECT_EQ(planDisplay(DisplayMethod::Fullscreen, window, false, twoMonitors).method, DisplayMethod::Fullscreen);
    const DisplayPlan refused = planDisplay(DisplayMethod::Fullscreen, window, false, noSuchMode);
    EXPECT_EQ(refused.method, DisplayMethod::Desktop);
    EXPECT_NE(refused.notice.find("640x480"), std::string::npos);

    // Xwayland lists 640x480 among its modes but only stretches the window over the monitor.
    DisplayFacts xwayland = oneMonitor;
    xwayland.modeSwitchEmulated = true;
    const DisplayPlan onXwayland = planDisplay(DisplayMethod::Automatic, window, false, xwayland);
    EXPECT_EQ(onXwayland.method, DisplayMethod::Desktop);
    EXPECT_FALSE(onXwayland.device.fullscreen);
    EXPECT_EQ(onXwayland.device.windowSize, irr::core::dimension2du(1920, 1080));
    EXPECT_TRUE(onXwayland.notice.empty());
    const DisplayPlan emulated = planDisplay(DisplayMethod::Fullscreen, window, false, xwayland);
    EXPECT_EQ(emulated.method, DisplayMethod::Desktop);
    EXPECT_FALSE(emulated.device.fullscreen);
    EXPECT_NE(emulated.notice.find("emulates"), std::string::npos) << emulated.notice;
    EXPECT_EQ(emulated.notice.find('\n'), std::string::npos);

    const DisplayPlan asWindow = planDisplay(DisplayMethod::Window, window, false, oneMonitor);
    EXPECT_EQ(asWindow.method, DisplayMethod::Window);
    EXPECT_FALSE(asWindow.device.fullscreen);
    EXPECT_EQ(asWindow.device.windowSize, window);
}
