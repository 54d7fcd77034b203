#include "demo/DemoDevice.h"
#include "demo/DemoMain.h"
#include "demo/HeapTuning.h"
#include "demo/ProgramDirectory.h"

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
} // namespace

int main()
{
    keepFreedMemoryForReuse();
    enterProgramDirectory("kirupo");
    EscapeKey escapeKey;
    irr::IrrlichtDevice* device = createDemoDevice(true, &escapeKey);
    if (!device)
    {
        std::fprintf(stderr, "kirupo: cannot open a 640x480 OpenGL window: %s\n", whyNoDemoDevice().c_str());
        return 1;
    }
    escapeKey.device = device;
    return runDemo(device);
}
