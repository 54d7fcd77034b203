#pragma once

#include <irrlicht.h>

#include <map>

class Effect;

// Owns the effects of the effect table (EffectTable.h) and, once per frame,
// advances the demo clock and lets the effect that the timeline chooses draw
// the frame.
class EffectDirector
{
public:
    EffectDirector();
    ~EffectDirector();

    EffectDirector(const EffectDirector&) = delete;
    EffectDirector& operator=(const EffectDirector&) = delete;

    void initAll();
    void tick();
    void shutdownAll();

    // The id of the effect the timeline shows at demo time t, or 0 once the
    // timeline has run out.
    static irr::s32 effectAt(float demoTime);
    // Demo time at which the timeline runs out: the end of its last section.
    static float timelineEnd();

    // From now on every tick updates this registered effect instead of the
    // timeline's choice, also past the timeline's end, so that one effect can
    // be watched on its own (the capture tool's --effect). Returns false, and
    // changes nothing, when no effect has this id.
    bool pin(irr::s32 id);

    // With looping on, the tick that passes the timeline's end starts it
    // again instead of ending the demo: the demo clock back at 0, every effect
    // as init left it (nothing is loaded again), the music from its start,
    // and that tick counts as a first one (the clock stays at 0 and the
    // opening draws its first frame). Off unless switched on.
    void setLooping(bool on) { looping = on; }

    // The registered effect with this id, or null.
    Effect* find(irr::s32 id) const;
    const std::map<irr::s32, Effect*>& registry() const { return effects; }

private:
    // Reads the engine timer and adds the time since the previous tick to the
    // demo clock (not on the first tick); returns that time in seconds.
    float advanceClock();
    [[noreturn]] void endOfTimeline();
    void restartTimeline();

    std::map<irr::s32, Effect*> effects;
    irr::u32 lastTimerMs;
    Effect* pinned = nullptr;
    bool looping = false;
};
