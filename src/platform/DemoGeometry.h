#pragma once

#include <irrlicht.h>

// The demo's fixed geometry, shared by every layer: the screen it draws,
// the pi its angles are computed with, and the perspective its 3D effects
// look through.

// Every frame is drawn into a 640 x 480 screen, whatever the window's size.
constexpr irr::u32 SCREEN_WIDTH = 640;
constexpr irr::u32 SCREEN_HEIGHT = 480;
const irr::core::recti SCREEN_AREA(0, 0, SCREEN_WIDTH, SCREEN_HEIGHT);

// The single-precision 3.14159 the demo was made with, not the engine's
// fuller constant: angles, spirals and the field of view (pi / 2 is
// 1.5707951) come out exactly as the demo always had them.
constexpr irr::f32 DEMO_PI = 3.14159f;

// The projection of every 3D effect: a 90 degree field of view at the
// screen's 4:3, near plane 0.1, far plane 1000.
inline irr::core::matrix4 demoProjection()
{
    irr::core::matrix4 projection;
    projection.buildProjectionMatrixPerspectiveFovLH(DEMO_PI / 2, 4.0f / 3.0f, 0.1f, 1000.0f);
    return projection;
}
