#pragma once

#include "demo/Effect.h"

#include <irrlicht.h>

// The conveyor: a breathing two-frame cat, eight bobbing food pictures sliding
// to the left and three pulsing hearts on pink.
class Effect2200 : public Effect
{
public:
    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    irr::video::ITexture* catTextures[2] = {nullptr, nullptr};
    irr::video::ITexture* foodTextures[3] = {nullptr, nullptr, nullptr};
    irr::video::ITexture* heartTexture = nullptr;
};
