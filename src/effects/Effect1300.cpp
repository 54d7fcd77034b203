#include "effects/Effect1300.h"

void Effect1300::init() {}

void Effect1300::update(float dt)
{
    (void)dt; // animates by the demo clock
}

void Effect1300::shutdown() {}
