#pragma once

#include <irrlicht.h>

// Chooses the material of each mesh buffer that drawMesh draws: apply must
// make the driver's current material the one to draw with (by calling
// setMaterial itself), working on a copy of the buffer's own material.
class MaterialOverride
{
public:
    virtual void apply(const irr::video::SMaterial& bufferMaterial) = 0;

protected:
    ~MaterialOverride() = default;
};
