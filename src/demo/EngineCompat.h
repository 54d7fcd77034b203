#pragma once

#include <irrlicht.h>

// The engine the demo was made with drew its alpha-channel material with an
// alpha test that dropped texels whose alpha is below 127; the OpenGL driver
// of this engine drops only alpha 0 unless told otherwise. Materials of type
// EMT_TRANSPARENT_ALPHA_CHANNEL carry this reference to look as intended.
constexpr irr::f32 ALPHA_CHANNEL_REFERENCE = 126.5f / 255.0f;
