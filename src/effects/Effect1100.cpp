#include "effects/Effect1100.h"

void Effect1100::init() {}

void Effect1100::update(float dt)
{
    advance(dt);
}

void Effect1100::shutdown() {}
