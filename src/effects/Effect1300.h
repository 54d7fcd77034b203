#pragma once

#include "demo/Effect.h"

#include <irrlicht.h>

// A lit town sliding to and fro in front of a fixed camera under a soft glow:
// the scene rendered small, blurred twice and added over the sharp scene.
class Effect1300 : public Effect
{
public:
    Effect1300();

    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    // The lit town, into the current render target.
    void drawScene();
    // Makes the target a slightly blurred copy of the source.
    void blurPass(irr::video::ITexture* source, irr::video::ITexture* target);

    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
    irr::scene::IAnimatedMesh* model;
    irr::video::ITexture* renderTargetA;
    irr::video::ITexture* renderTargetB;
};
