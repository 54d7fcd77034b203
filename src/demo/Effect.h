#pragma once

// One visual section of the demo: loads its assets once (init), draws one
// complete frame per update, and has a shutdown hook.
class Effect
{
public:
    Effect();
    virtual ~Effect();

    virtual void init() = 0;
    // Draws one frame. An effect keeps time in one of two ways: by its own
    // clock, calling this base implementation (the clock step, `advance`)
    // first thing and reading getLocalTime(), so that it starts at 0 when
    // the timeline first selects it; or by the demo clock
    // (DemoContext::getDemoTime()), without calling it, as 1200 and 1300 do.
    virtual void update(float dt);
    virtual void shutdown() = 0;
    // Back to the state init left it in, assets kept: for a timeline that
    // starts again. Effects that keep more state between frames than their
    // clock reset it too.
    virtual void restart();

    float getLocalTime() const { return localTime; }
    bool hasStarted() const { return !firstFrame; }

protected:
    // An effect's clock stays at 0 on its first frame: the first dt it sees
    // covers everything before it was selected.
    void advance(float dt);

    float localTime;
    bool firstFrame;
};
