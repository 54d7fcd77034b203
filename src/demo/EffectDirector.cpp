#include "demo/EffectDirector.h"

#include "demo/DemoContext.h"
#include "effects/Effect1000.h"
#include "effects/Effect1100.h"
#include "effects/Effect1200.h"
#include "effects/Effect1300.h"
#include "effects/Effect1500.h"
#include "effects/Effect1600.h"
#include "effects/Effect1900.h"
#include "effects/Effect2200.h"
#include "effects/Effect2500.h"

#include <cstdlib>

namespace
{
struct TimelineEntry
{
    float until; // the entry holds while the demo clock is at most this
    irr::s32 effectId;
};

// Every boundary is a whole multiple of 10.104 s, four bars of the opening's beat.
const TimelineEntry TIMELINE[] = {
    {10.104f, 1000}, {20.208f, 1500}, {30.312f, 2500}, {50.52f, 1100}, {60.624f, 2200}, {70.728f, 1900},
};
} // namespace

EffectDirector::EffectDirector() : lastTimerMs(0)
{
    effects[1000] = new Effect1000();
    effects[1100] = new Effect1100();
    effects[1200] = new Effect1200();
    effects[1500] = new Effect1500();
    effects[1600] = new Effect1600();
    effects[1900] = new Effect1900();
    effects[2200] = new Effect2200();
    effects[2500] = new Effect2500();
    effects[1300] = new Effect1300();
}

EffectDirector::~EffectDirector()
{
    for (auto& entry : effects)
        delete entry.second;
    effects.clear();
}

void EffectDirector::initAll()
{
    for (auto& entry : effects)
        entry.second->init();
}

void EffectDirector::shutdownAll()
{
    for (auto& entry : effects)
        entry.second->shutdown();
}

irr::s32 EffectDirector::effectAt(float demoTime)
{
    for (const TimelineEntry& entry : TIMELINE)
        if (demoTime <= entry.until)
            return entry.effectId;
    return 0;
}

Effect* EffectDirector::find(irr::s32 id) const
{
    const auto found = effects.find(id);
    return found == effects.end() ? nullptr : found->second;
}

float EffectDirector::advanceClock()
{
    DemoContext* context = DemoContext::instance();
    const irr::u32 now = context->getDevice()->getTimer()->getTime();
    // The unsigned difference also survives the timer wrapping around.
    const float dt = static_cast<float>(static_cast<double>(now - lastTimerMs) / 1000.0);
    // A reading of 0 leaves lastTimerMs at 0, so the next tick again counts as the first.
    const bool firstTick = lastTimerMs == 0;
    lastTimerMs = now;
    if (!firstTick)
        context->addTime(dt);
    return dt;
}

bool EffectDirector::pin(irr::s32 id)
{
    Effect* effect = find(id);
    if (effect)
        pinned = effect;
    return effect != nullptr;
}

void EffectDirector::tick()
{
    const float dt = advanceClock();
    if (pinned)
    {
        pinned->update(dt);
        return;
    }
    irr::s32 id = effectAt(DemoContext::instance()->getDemoTime());
    if (id == 0)
    {
        if (!looping)
            endOfTimeline();
        restartTimeline();
        id = effectAt(0.0f);
    }
    find(id)->update(dt);
}

void EffectDirector::restartTimeline()
{
    DemoContext* context = DemoContext::instance();
    context->resetClock();
    context->seekMusic(0.0f);
    for (auto& entry : effects)
        entry.second->restart();
}

void EffectDirector::endOfTimeline()
{
    // The demo ends at once, without the orderly shutdown. Only the device is
    // released first: its destructor gives the desktop back its video mode.
    DemoContext::instance()->getDevice()->drop();
    std::_Exit(0);
}
