#pragma once

// One visual section of the demo: loads its assets once (init), draws one
// complete frame per update, and has a shutdown hook.
class Effect
{
public:
    Effect();
    virtual ~Effect();

    virtual void init() = 0;
    // The base implementation is the clock step; effects call it first thing.
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
