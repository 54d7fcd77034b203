#pragma once

#include <irrlicht.h>

// The directional light the lit effects add in every frame: it shines along
// `direction` with the given diffuse colour over a radius of 1000, and adds no
// colour of its own to ambient or highlights. The direction is kept in both
// fields that engine versions have read it from.
inline irr::video::SLight directionalLight(const irr::core::vector3df& direction, const irr::video::SColorf& diffuse)
{
    irr::video::SLight light;
    light.AmbientColor = irr::video::SColorf(0, 0, 0, 1);
    light.DiffuseColor = diffuse;
    light.SpecularColor = irr::video::SColorf(0, 0, 0, 1);
    light.Position = direction;
    light.Direction = direction;
    light.Radius = 1000;
    light.Type = irr::video::ELT_DIRECTIONAL;
    return light;
}
