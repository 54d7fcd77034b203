#include "effects/Effect1500.h"

void Effect1500::init() {}

void Effect1500::update(float dt)
{
    advance(dt);
}

void Effect1500::shutdown() {}
