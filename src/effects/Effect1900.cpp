#include "effects/Effect1900.h"

#include "demo/DemoContext.h"
#include "demo/EngineCompat.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{

const video::SColor BLACK(255, 0, 0, 0);
const video::SColor WHITE(255, 255, 255, 255);
const video::SColor RED(255, 255, 0, 0);
// The squares sweep in and out of every part of the picture; pure red on
// black counts as saturated red there, and a white square coming in drops
// that reading to nothing, so they flash red many times a second. Gentle
// mode's red is a touch paler, just under the saturated-red line (red 0.79
// of R + G + B in linear light against 0.8), and never counts as red.
const video::SColor GENTLE_RED(255, 255, 102, 102);

const s32 GRID = 16;

// Two triangles over the square from (-1, -1) to (1, 1) in the plane z = -1
// of its own space, so that the world's z scale moves it in depth.
const u16 CELL_INDICES[6] = {0, 1, 2, 1, 3, 2};

video::SLight lightAlongZ()
{
    video::SLight light;
    light.AmbientColor = video::SColorf(0, 0, 0, 1);
    light.DiffuseColor = video::SColorf(1, 1, 1, 1);
    light.SpecularColor = video::SColorf(0, 0, 0, 1);
    light.Direction = core::vector3df(0, 0, 1);
    light.Radius = 1000;
    light.Type = video::ELT_DIRECTIONAL;
    return light;
}

// Unlit and two-sided: every square shows its vertex colour from either side.
video::SMaterial cellMaterial()
{
    video::SMaterial material;
    material.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    material.MaterialTypeParam = ALPHA_CHANNEL_REFERENCE;
    material.setTexture(0, nullptr);
    material.Lighting = false;
    material.BackfaceCulling = false;
    material.setFlag(video::EMF_BILINEAR_FILTER, true);
    material.AmbientColor = video::SColor(0, 0, 0, 0);
    material.DiffuseColor = video::SColor(0, 0, 0, 0);
    material.EmissiveColor = video::SColor(255, 255, 255, 255);
    return material;
}
} // namespace

// clang-format off
const s8 Effect1900::heartFill[16 * 16] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0,-1,-1,-1, 0, 0, 0,-1,-1,-1, 0, 0, 0, 0,
    0, 0,-1,-1,-1,-1,-1, 0,-1,-1,-1,-1,-1, 0, 0, 0,
    0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0,
    0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0,
    0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0,
    0, 0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0, 0,
    0, 0,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0, 0,
    0, 0, 0,-1,-1,-1,-1,-1,-1,-1,-1,-1, 0, 0, 0, 0,
    0, 0, 0, 0,-1,-1,-1,-1,-1,-1,-1, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0,-1,-1,-1,-1,-1, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0,-1,-1,-1, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};

const s8 Effect1900::heartOutline[16 * 16] = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0,-1,-1,-1, 0, 0, 0,-1,-1,-1, 0, 0, 0, 0,
    0, 0,-1, 0, 0, 0,-1, 0,-1, 0, 0, 0,-1, 0, 0, 0,
    0,-1, 0, 0, 0, 0, 0,-1, 0, 0, 0, 0, 0,-1, 0, 0,
    0,-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,-1, 0, 0,
    0,-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,-1, 0, 0,
    0, 0,-1, 0, 0, 0, 0, 0, 0, 0, 0, 0,-1, 0, 0, 0,
    0, 0,-1, 0, 0, 0, 0, 0, 0, 0, 0, 0,-1, 0, 0, 0,
    0, 0, 0,-1, 0, 0, 0, 0, 0, 0, 0,-1, 0, 0, 0, 0,
    0, 0, 0, 0,-1, 0, 0, 0, 0, 0,-1, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0,-1, 0, 0, 0,-1, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0,-1,-1,-1, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
};
// clang-format on

void Effect1900::init()
{
    projection = demoProjection();
    world.makeIdentity();
}

void Effect1900::update(float dt)
{
    advance(dt);
    const f32 t = getLocalTime();
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();

    driver->draw2DRectangle(BLACK, SCREEN_AREA, nullptr);

    // The camera circles in front of the heart, always looking at its middle.
    // With the up vector pointing down world y the picture is turned half
    // round: row 0 at the top, column 0 at the right.
    driver->setTransform(video::ETS_PROJECTION, projection);
    const core::vector3df camera(static_cast<f32>(4 * std::sin(double(t))), static_cast<f32>(4 * std::cos(double(t))),
                                 -20.5f);
    view.buildCameraLookAtMatrixLH(camera, core::vector3df(0, 0, 0), core::vector3df(0, -1, 0));
    driver->setTransform(video::ETS_VIEW, view);

    // The driver fixes a light against the view in force when the light is
    // added; adding it after the camera keeps it shining along world +z.
    driver->deleteAllDynamicLights();
    driver->addDynamicLight(lightAlongZ());

    // The squares write depth although their material type blends, so the
    // nearer of two overlapping squares is the one seen.
    driver->setAllowZWriteOnTransparent(true);
    driver->setMaterial(cellMaterial());
    const video::SColor& fill = DemoContext::instance()->isGentle() ? GENTLE_RED : RED;
    for (s32 r = 0; r < GRID; ++r)
    {
        for (s32 c = 0; c < GRID; ++c)
        {
            // A breathing wave along the diagonals, 0.3 radians apart.
            const f32 phase = 0.3f * c + 0.3f * r;
            const f32 s = static_cast<f32>(1 - 0.5 * std::sin(double(t + phase)));
            const s32 cell = r * GRID + c;
            if (!heartFill[cell] && !heartOutline[cell])
                continue;
            const video::SColor& colour = heartOutline[cell] ? WHITE : fill;
            // Squares 3.2 units apart, scaled by s, moved in depth by the z scale.
            world.makeIdentity();
            world.setTranslation(core::vector3df((c - 8) * 3.2f, (r - 8) * 3.2f, 0));
            world.setScale(core::vector3df(s, s, static_cast<f32>(5 * std::sin(double(2 * t + s)))));
            driver->setTransform(video::ETS_WORLD, world);
            drawCell(colour);
        }
    }
    driver->setAllowZWriteOnTransparent(false);
}

void Effect1900::drawCell(const video::SColor& colour)
{
    const core::vector3df normal(0, 0, 1);
    const video::S3DVertex vertices[4] = {
        video::S3DVertex(core::vector3df(-1, -1, -1), normal, colour, core::vector2df(0, 0)),
        video::S3DVertex(core::vector3df(1, -1, -1), normal, colour, core::vector2df(1, 0)),
        video::S3DVertex(core::vector3df(-1, 1, -1), normal, colour, core::vector2df(0, 1)),
        video::S3DVertex(core::vector3df(1, 1, -1), normal, colour, core::vector2df(1, 1)),
    };
    DemoContext::instance()->getDriver()->drawIndexedTriangleList(vertices, 4, CELL_INDICES, 2);
}

void Effect1900::shutdown() {}
