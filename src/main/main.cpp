#include "demo/CommandLine.h"
#include "demo/DemoMain.h"
#include "platform/DemoDevice.h"
#include "platform/HeapTuning.h"
#include "platform/ProgramDirectory.h"
#include "platform/StopSignals.h"
#include "platform/X11Window.h"

#include <cstdio>

namespace
{
// Escape ends the demo the way closing its window does.
class EscapeKey : public irr::IEventReceiver
{
public:
    irr::IrrlichtDevice* device = nullptr;

    bool OnEvent(const irr::SEvent& event) override
    {
        if (device && event.EventType == irr::EET_KEY_INPUT_EVENT && event.KeyInput.Key == irr::KEY_ESCAPE &&
            event.KeyInput.PressedDown)
        {
            device->closeDevice();
            return true;
        }
        return false;
    }
};

constexpr int EXIT_USAGE = 2;
} // namespace

int main(int argc, char** argv)
{
    DemoOptions options;
    try
    {
        options = parseDemoOptions(std::vector<std::string>(argv + 1, argv + argc));
    }
    catch (const DemoUsageError& error)
    {
        std::fprintf(stderr, "kirupo: %s (see kirupo --help)\n", error.what());
        return EXIT_USAGE;
    }
    if (options.help || options.version)
    {
        std::fputs(options.help ? demoHelpText().c_str() : demoVersionText().c_str(), stdout);
        return 0;
    }

    // From here on a stop signal ends the demo in order.
    installStopSignals();
    keepFreedMemoryForReuse();
    enterProgramDirectory("kirupo");
    const DisplayPlan plan = planDisplay(options.display, options.windowSize, options.vsync, readDisplayFacts());
    if (!plan.notice.empty())
        std::fprintf(stderr, "kirupo: %s\n", plan.notice.c_str());

    EscapeKey escapeKey;
    irr::IrrlichtDevice* device = createDemoDevice(plan.device, &escapeKey);
    if (!device)
    {
        std::fprintf(stderr, "kirupo: cannot open a %ux%u OpenGL window: %s\n", plan.device.windowSize.Width,
                     plan.device.windowSize.Height, whyNoDemoDevice().c_str());
        return 1;
    }
    escapeKey.device = device;
    if (plan.method == DisplayMethod::Desktop)
        showBorderlessFullscreen(device);
    else if (plan.method == DisplayMethod::Window)
        allowResizing(device);
    else
        device->getCursorControl()->setVisible(false);
    // An ordinary window waits for the user to choose it; the others are all there is to see.
    if (plan.method != DisplayMethod::Window)
        takeFocusUnlessGiven(device);

    RunSettings settings;
    settings.scale = options.scale;
    settings.mute = options.mute;
    settings.start = options.start;
    settings.loop = options.loop;
    settings.gentle = options.gentle;
    return runDemo(device, settings);
}
