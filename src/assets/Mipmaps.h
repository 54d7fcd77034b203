#pragma once

#include <irrlicht.h>

// Mipmaps made on the CPU, texel for texel the ones Mesa's software renderer
// makes, but without the shader it compiles to draw them (a tenth of a second
// and some 16 MB at start-up). The demo's device turns the driver's own
// generation off (while it is off, a new texture's levels are mere samples of
// the picture); once every effect has loaded its textures, buildMipmaps gives
// each its proper levels.
void buildMipmaps(irr::video::IVideoDriver* driver);

// One level down: each 8-bit channel of each texel the mean of a 2 x 2 block,
// rounded half up first across each row's pair and then between the two rows,
// as the renderer's bilinear filter halves them. A side of 1 stays 1 (its
// texels are then averaged in pairs along the other side).
void halvePicture(const irr::u8* source, irr::u32 width, irr::u32 height, irr::u32 bytesPerTexel, irr::u8* target);
