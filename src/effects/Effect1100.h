#pragma once

#include "demo/Effect.h"

#include <irrlicht.h>

// Three five-armed spiral stars of textured ribbons swinging sideways in
// front of a pale yellow screen with a grey band, behind a pulsing rabbit
// whose picture alternates between two textures every half second.
class Effect1100 : public Effect
{
public:
    Effect1100();

    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    // One five-armed star of ribbons in the plane z = 0 around centre.
    void drawSpiral(irr::f32 phase, const irr::core::vector2df& centre, const irr::video::SMaterial& material);

    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
    irr::video::SMaterial ribbonMaterial;
    irr::video::ITexture* stripesTexture;
    irr::video::ITexture* rabbit1Texture;
    irr::video::ITexture* rabbit2Texture;
};
