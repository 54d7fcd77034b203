// The 3D sections draw their frames without touching the heap: all per-frame
// geometry and engine records live on the stack.
#include "ForwardingDevice.h"
#include "ForwardingVideoDriver.h"
#include "ScratchDataTree.h"

#include "demo/DemoContext.h"
#include "effects/Effect1100.h"
#include "effects/Effect1500.h"
#include "effects/Effect1900.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The replacements below pair malloc with free; the compiler cannot tell.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace
{
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
} // namespace

void* operator new(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
using namespace irr;

// The null driver keeps its lights in a growing array; everything else it
// does per frame is free of allocation. This driver drops the lights so that
// only the effect's own allocations are counted.
class LightlessDriver : public ForwardingVideoDriver
{
public:
    using ForwardingVideoDriver::ForwardingVideoDriver;
    void deleteAllDynamicLights() override {}
    s32 addDynamicLight(const video::SLight&) override { return 0; }
};

class LightlessDevice : public ForwardingDevice
{
public:
    LightlessDevice(IrrlichtDevice* nullDevice)
        : ForwardingDevice(nullDevice), driver(nullDevice->getVideoDriver())
    {
    }
    ~LightlessDevice() override { inner->drop(); }
    video::IVideoDriver* getVideoDriver() override { return &driver; }

private:
    LightlessDriver driver;
};

IrrlichtDevice* nullDevice()
{
    SIrrlichtCreationParameters parameters;
    parameters.DriverType = video::EDT_NULL;
    parameters.LoggingLevel = ELL_NONE;
    return createDeviceEx(parameters);
}

// Heap allocations made by ten frames after the first.
long allocationsOfTenFrames(Effect& effect, DemoContext& context)
{
    effect.init();
    effect.update(0.0f);
    allocations = 0;
    counting = true;
    for (int frame = 0; frame < 10; ++frame)
    {
        context.addTime(0.1f);
        effect.update(0.1f);
    }
    counting = false;
    return allocations;
}
} // namespace

TEST(FrameAllocations, TheThreeDimensionalSectionsAllocateNothingPerFrame)
{
    ScratchDataTree tree;
    tree.writeFile("data/models/arks3.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 3 2 1\n");
    LightlessDevice* device = new LightlessDevice(nullDevice());
    {
        DemoContext context(device);
        Effect1500 flight;
        Effect1100 spirals;
        Effect1900 heart;
        EXPECT_EQ(allocationsOfTenFrames(flight, context), 0);
        EXPECT_EQ(allocationsOfTenFrames(spirals, context), 0);
        EXPECT_EQ(allocationsOfTenFrames(heart, context), 0);
    }
    device->drop();
}
