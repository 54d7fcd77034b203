#pragma once

#include <irrlicht.h>

// What the flight sections share: cameras that fly along +z on the line
// x = 24, y = 23, and the lit, orange-glowing material their models are
// drawn with.
namespace flight
{

struct Camera
{
    irr::core::vector3df position, target, up;
};

// A camera at time t that starts at z = startZ and flies along +z at 40 units
// a second. Its target circles the point one unit ahead at targetRadius, one
// turn every 2 pi seconds; its up vector runs round a circle of upRadius about
// (0, 1, 0), upPhase radians on, one turn every pi seconds. With a radius
// above 1 the camera rolls through full turns; below 1 it only sways. The up
// vector is left as computed, not normalised.
Camera flyingCamera(irr::f32 t, irr::f32 startZ, irr::f32 targetRadius, irr::f32 upRadius, irr::f32 upPhase);

// The buffer's own material, lit and unfiltered, with the given diffuse
// colour and an orange emissive colour.
irr::video::SMaterial glowingMaterial(const irr::video::SMaterial& bufferMaterial, irr::video::SColor diffuse);

} // namespace flight
