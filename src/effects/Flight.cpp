#include "effects/Flight.h"

#include <cmath>

using namespace irr;

namespace flight
{

Camera flyingCamera(f32 t, f32 startZ, f32 targetRadius, f32 upRadius, f32 upPhase)
{
    Camera camera;
    camera.position = core::vector3df(24, 23, 40 * t + startZ);
    camera.target = core::vector3df(24 + targetRadius * std::cos(t), 23,
                                    40 * t + (startZ + 1) + targetRadius * std::sin(t));
    camera.up = core::vector3df(upRadius * std::cos(2 * t + upPhase), 1 + upRadius * std::sin(2 * t + upPhase), 0);
    return camera;
}

video::SMaterial glowingMaterial(const video::SMaterial& bufferMaterial, video::SColor diffuse)
{
    video::SMaterial material = bufferMaterial;
    material.Lighting = true;
    material.setFlag(video::EMF_BILINEAR_FILTER, false);
    material.DiffuseColor = diffuse;
    material.EmissiveColor = video::SColor(255, 255, 192, 0);
    // Vertex colours would otherwise stand in for the diffuse colour.
    material.ColorMaterial = video::ECM_NONE;
    return material;
}

} // namespace flight
