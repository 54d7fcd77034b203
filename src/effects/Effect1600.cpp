#include "effects/Effect1600.h"

void Effect1600::init() {}

void Effect1600::update(float dt)
{
    advance(dt);
}

void Effect1600::shutdown() {}
