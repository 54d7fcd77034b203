#pragma once

#include <irrlicht.h>

#include <vector>

class Effect;

// The end of an effect's section for an effect the timeline never shows: it
// is registered, initialised and shut down like the others, and can be
// watched on its own (kirupo-capture --effect).
constexpr float OFF_TIMELINE = -1.0f;

// One row of the demo's effect table.
struct EffectRegistration
{
    irr::s32 id;
    Effect* (*create)();
    // The demo time at which the effect's section ends (it begins where the
    // section before it ends), or OFF_TIMELINE.
    float sectionEnd;
    // What it shows, in a few words: the chapter title of its section.
    const char* title;

    bool onTimeline() const { return sectionEnd != OFF_TIMELINE; }
};

// Every effect of the demo, in the order the director makes them. The table
// is defined beside the effects, in src/effects/EffectTable.cpp: the one
// place an effect is registered and given its section.
const std::vector<EffectRegistration>& effectTable();

// One section of the timeline: the effect it shows while the demo clock is
// above start and at most end.
struct TimelineSection
{
    float start;
    float end;
    const EffectRegistration* effect;
};

// The table's sections in the order they play, the first from 0.
const std::vector<TimelineSection>& timelineSections();

// Makes an effect for the table.
template <class E>
Effect* makeEffect()
{
    return new E();
}
