#pragma once

#include "demo/Effect.h"

#include <irrlicht.h>

// The title pulse: a screen-filling grid of 40 tiles that flash between black
// and their own colours every half second, under a centred image that grows
// in a fast sawtooth.
class Effect2500 : public Effect
{
public:
    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    irr::video::ITexture* pulseTexture = nullptr;
    irr::video::ITexture* gridTexture = nullptr;
};
