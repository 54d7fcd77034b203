#include "effects/Effect1900.h"

void Effect1900::init() {}

void Effect1900::update(float dt)
{
    advance(dt);
}

void Effect1900::shutdown() {}
