#include "effects/Effect2200.h"

void Effect2200::init() {}

void Effect2200::update(float dt)
{
    advance(dt);
}

void Effect2200::shutdown() {}
