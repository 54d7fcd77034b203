// Effects allocate nothing per frame: every allocation through operator new
// is counted while whole sections, and the whole timeline through the
// director, are drawn at 60 frames per second on the engine's null driver (the
// recording driver would allocate its records).
#include "ForwardingDevice.h"
#include "ScratchDataTree.h"
#include "display/ForwardingVideoDriver.h"

#include "demo/DemoContext.h"
#include "demo/DemoFrame.h"
#include "demo/EffectDirector.h"
#include "demo/EffectTable.h"
#include "demo/FrameSchedule.h"
#include "effects/Effect1000.h"
#include "platform/HeapTuning.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <malloc.h>
#include <memory>
#include <new>

// The replacements below pair malloc with free; the compiler cannot tell.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace
{
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void* countedAllocation(std::size_t size)
{
    if (counting)
        ++allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

void* operator new(std::size_t size)
{
    return countedAllocation(size);
}
void* operator new[](std::size_t size)
{
    return countedAllocation(size);
}
void operator delete(void* p) noexcept
{
    std::free(p);
}
void operator delete[](void* p) noexcept
{
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}

namespace
{
using namespace irr;

// The null driver keeps its lights in a growing array; everything else it
// does per frame is free of allocation. This driver drops the lights so that
// only the effects' own allocations are counted. The null driver makes no
// render targets either: a plain texture stands in, so that the effects take
// the paths that draw into them.
class LightlessDriver : public ForwardingVideoDriver
{
public:
    using ForwardingVideoDriver::ForwardingVideoDriver;
    void deleteAllDynamicLights() override {}
    s32 addDynamicLight(const video::SLight&) override { return 0; }
    video::ITexture* addRenderTargetTexture(const core::dimension2du& size, const io::path& name,
                                            const video::ECOLOR_FORMAT) override
    {
        return inner->addTexture(size, name);
    }
};

class LightlessDevice : public ForwardingDevice
{
public:
    explicit LightlessDevice(IrrlichtDevice* nullDevice)
        : ForwardingDevice(nullDevice), driver(nullDevice->getVideoDriver())
    {
    }
    ~LightlessDevice() override { inner->drop(); }
    video::IVideoDriver* getVideoDriver() override { return &driver; }

private:
    LightlessDriver driver;
};

class FrameAllocations : public ::testing::Test
{
protected:
    FrameAllocations()
    {
        const char* model = "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\nf 3 2 1\n";
        for (const char* name : {"arks3", "arks5", "shape_1a", "town_04"})
            tree.writeFile(std::string("data/models/") + name + ".obj", model);
        SIrrlichtCreationParameters parameters;
        parameters.DriverType = video::EDT_NULL;
        parameters.LoggingLevel = ELL_NONE;
        device = new LightlessDevice(createDeviceEx(parameters));
        context.reset(new DemoContext(device));
    }
    ~FrameAllocations() override
    {
        context.reset();
        device->drop();
    }

    // Allocations made while the effect draws a whole section of this many
    // seconds at 60 frames per second, after its first frame.
    long allocationsOver(Effect& effect, float seconds)
    {
        effect.init();
        effect.update(2.0f);
        const float dt = 1.0f / 60;
        allocations = 0;
        counting = true;
        for (float t = 0; t < seconds; t += dt)
        {
            context->addTime(dt);
            effect.update(dt);
        }
        counting = false;
        return allocations;
    }

    ScratchDataTree tree;
    IrrlichtDevice* device;
    std::unique_ptr<DemoContext> context;
};
} // namespace

TEST_F(FrameAllocations, TheCounterSeesAllocations)
{
    counting = true;
    allocations = 0;
    std::unique_ptr<int> probe(new int(1));
    counting = false;
    EXPECT_EQ(allocations, 1);
}

// Every effect of the table, over its own section or, off the timeline, one
// section's length.
TEST_F(FrameAllocations, EveryEffectDrawsAWholeSectionWithoutAllocating)
{
    for (const EffectRegistration& row : effectTable())
    {
        std::unique_ptr<Effect> effect(row.create());
        float seconds = 10.104f;
        for (const TimelineSection& section : timelineSections())
            if (section.effect == &row)
                seconds = section.end - section.start;
        EXPECT_EQ(allocationsOver(*effect, seconds), 0) << row.id;
        if (row.id == 1000) // its star burst, spawned at 7.578 s, fits the room made for it
        {
            EXPECT_EQ(static_cast<Effect1000&>(*effect).getParticles().size(), 150u);
        }
    }
}

// The demo as it runs: after start-up, the director ticks through the whole
// timeline at 60 frames per second, every section's first frame included,
// without a single allocation by the director or any effect. The same holds
// for frames ticked without drawing (a start part-way through, the capture's
// fast-forward) and for a timeline that starts again.
TEST_F(FrameAllocations, AWholeTimelineOfTicksAllocatesNothing)
{
    EffectDirector director;
    director.initAll();
    director.setLooping(true);
    FrameSchedule schedule;
    const int frames = schedule.timelineFrames();
    ITimer* timer = device->getTimer();
    timer->stop();
    allocations = 0;
    counting = true;
    // Once round without drawing, the loop, and once round drawn.
    for (int frame = 0; frame < 2 * frames; ++frame)
    {
        timer->setTime(schedule.timerMs(frame));
        if (frame < frames)
            skipFrame(director);
        else
            director.tick();
        if (frame == frames - 1)
        {
            EXPECT_GT(context->getDemoTime(), EffectDirector::timelineEnd() - 1.0f / 60) << "short of the end";
        }
    }
    counting = false;
    EXPECT_EQ(allocations, 0);
    EXPECT_EQ(static_cast<Effect1000*>(director.find(1000))->getParticles().size(), 150u) << "round again";
}

// The software renderer frees a few megabytes of binning storage after every
// frame, in blocks of about 192 KB. Freed, they must stay with the process:
// neither unmapped (a mapping of their own) nor trimmed off the heap's top.
TEST(HeapTuning, FreedFrameStorageStaysWithTheProcess)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator ignores the C library's settings";
#else
    keepFreedMemoryForReuse();
    constexpr int BLOCKS = 24;
    void* blocks[BLOCKS];
    const struct mallinfo2 before = mallinfo2();
    for (void*& block : blocks)
        block = std::malloc(192 * 1024);
    const struct mallinfo2 used = mallinfo2();
    for (int i = BLOCKS - 1; i >= 0; --i)
        std::free(blocks[i]);
    const struct mallinfo2 after = mallinfo2();
    EXPECT_EQ(used.hblkhd, before.hblkhd) << "the blocks were mapped on their own";
    EXPECT_GE(after.arena, used.arena) << "the heap was trimmed";
#endif
}
