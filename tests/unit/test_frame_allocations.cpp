// Effects allocate nothing per frame: every allocation through operator new
// is counted while whole sections are drawn on the engine's null driver (the
// recording driver would allocate its records).
#include "demo/DemoContext.h"
#include "effects/Effect1000.h"
#include "effects/Effect2200.h"
#include "effects/Effect2500.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

namespace
{
std::atomic<long> allocations{0};

void* countedAllocation(std::size_t size)
{
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
class FrameAllocations : public ::testing::Test
{
protected:
    FrameAllocations()
    {
        irr::SIrrlichtCreationParameters parameters;
        parameters.DriverType = irr::video::EDT_NULL;
        parameters.LoggingLevel = irr::ELL_NONE;
        device = irr::createDeviceEx(parameters);
        context.reset(new DemoContext(device));
    }
    ~FrameAllocations() override
    {
        context.reset();
        device->drop();
    }

    // Allocations made while the effect draws a whole section of this many
    // seconds at 60 frames per second, its first frame included.
    long allocationsOver(Effect& effect, float seconds)
    {
        effect.init();
        const long before = allocations;
        const float dt = 1.0f / 60;
        effect.update(2.0f);
        for (float t = 0; t < seconds; t += dt)
        {
            context->addTime(dt);
            effect.update(dt);
        }
        return allocations - before;
    }

    irr::IrrlichtDevice* device;
    std::unique_ptr<DemoContext> context;
};
} // namespace

TEST_F(FrameAllocations, TheCounterSeesAllocations)
{
    const long before = allocations;
    std::unique_ptr<int> probe(new int(1));
    EXPECT_EQ(allocations - before, 1);
}

TEST_F(FrameAllocations, TwoDimensionalSectionsAllocateNothing)
{
    Effect1000 opening; // its star burst, spawned at 7.578 s, fits the room made for it
    EXPECT_EQ(allocationsOver(opening, 10.104f), 0);
    ASSERT_EQ(opening.getParticles().size(), 150u);
    Effect2500 titlePulse;
    EXPECT_EQ(allocationsOver(titlePulse, 10.104f), 0);
    Effect2200 conveyor;
    EXPECT_EQ(allocationsOver(conveyor, 10.104f), 0);
}
