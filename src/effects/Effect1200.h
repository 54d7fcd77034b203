#pragma once

#include "demo/Effect.h"
#include "demo/MaterialOverride.h"

#include <irrlicht.h>

// Three unlit copies of a shape side by side on pale yellow, spinning
// together about their own tilted y axis by the demo clock.
class Effect1200 : public Effect
{
public:
    Effect1200();

    void init() override;
    void update(float dt) override;
    void shutdown() override;

private:
    // Unlit and unfiltered; everything else as the shape's own material.
    class Effect1200Override : public MaterialOverride
    {
    public:
        void apply(const irr::video::SMaterial& bufferMaterial) override;
    };

    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
    irr::scene::IAnimatedMesh* model;
};
