#pragma once

#include "demo/Effect.h"

#include <irrlicht.h>

// The finale: a heart of 101 breathing squares, a red fill with a white
// outline, seen upside down by a camera circling in front of it.
class Effect1900 : public Effect
{
public:
    void init() override;
    void update(float dt) override;
    void shutdown() override;

    // The heart's two 16 x 16 grids, row by row; an entry is set when non-zero.
    static const irr::s8 heartFill[16 * 16];
    static const irr::s8 heartOutline[16 * 16];

private:
    // One square with whatever world transform and material are current.
    void drawCell(const irr::video::SColor& colour);

    irr::core::matrix4 projection;
    irr::core::matrix4 view;
    irr::core::matrix4 world;
};
