#pragma once

#include "demo/Effect.h"
#include "demo/MaterialOverride.h"

#include <irrlicht.h>

// A lit model seen by one camera that flies along +z and sways gently about
// the upright, drawn straight onto a green screen.
class Effect1600 : public Effect
{
public:
    Effect1600();

    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    // Lit, with a white diffuse and an orange emissive colour: faces that meet
    // the light head on turn white, the rest glow orange.
    class Effect1600Override : public MaterialOverride
    {
    public:
        void apply(const irr::video::SMaterial& bufferMaterial) override;
    };

    irr::video::ITexture* luluTexture;
    irr::video::ITexture* dadaTexture;
    irr::video::ITexture* bloodTexture;
    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
    irr::scene::IAnimatedMesh* model;
};
