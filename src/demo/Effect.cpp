#include "demo/Effect.h"

Effect::Effect() : localTime(0.0f), firstFrame(true) {}

Effect::~Effect() = default;

void Effect::update(float dt)
{
    advance(dt);
}

void Effect::restart()
{
    localTime = 0.0f;
    firstFrame = true;
}

void Effect::advance(float dt)
{
    if (firstFrame)
    {
        firstFrame = false;
        return;
    }
    localTime = localTime + dt;
}
