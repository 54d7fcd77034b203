#include "effects/Effect1000.h"

void Effect1000::init() {}

void Effect1000::update(float dt)
{
    advance(dt);
}

void Effect1000::shutdown() {}
