#include "effects/Effect1200.h"

void Effect1200::init() {}

void Effect1200::update(float dt)
{
    (void)dt; // animates by the demo clock
}

void Effect1200::shutdown() {}
