#include "effects/Effect2500.h"

void Effect2500::init() {}

void Effect2500::update(float dt)
{
    advance(dt);
}

void Effect2500::shutdown() {}
