#pragma once

#include "demo/Effect.h"
#include "demo/MaterialOverride.h"
#include "effects/Flight.h"

#include <irrlicht.h>

// A model seen by two rolling cameras that fly along +z, rendered into a
// 32 x 32 texture and stretched over a magenta screen and a picture that
// turns black for the first half of every second.
class Effect1500 : public Effect
{
public:
    Effect1500();

    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    // Lit, with a black diffuse and an orange emissive colour: the model shows
    // as a flat orange shape whatever its own colours are.
    class Effect1500Override : public MaterialOverride
    {
    public:
        void apply(const irr::video::SMaterial& bufferMaterial) override;
    };

    // One camera's view of the model into the current render target.
    void drawPass(irr::scene::IMesh* mesh, const flight::Camera& camera, MaterialOverride& materialOverride);

    irr::video::ITexture* luluTexture;
    irr::video::ITexture* dadaTexture;
    irr::video::ITexture* backgroundTexture;
    irr::video::ITexture* renderTarget;
    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
    irr::scene::IAnimatedMesh* model;
};
