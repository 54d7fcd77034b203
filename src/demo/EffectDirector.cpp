#include "demo/EffectDirector.h"

#include "demo/DemoContext.h"
#include "demo/Effect.h"
#include "demo/EffectTable.h"

#include <cstdlib>

EffectDirector::EffectDirector() : lastTimerMs(0)
{
    for (const EffectRegistration& row : effectTable())
        effects[row.id] = row.create();
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
    for (const TimelineSection& section : timelineSections())
        if (demoTime <= section.end)
            return section.effect->id;
    return 0;
}

float EffectDirector::timelineEnd()
{
    return timelineSections().back().end;
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
