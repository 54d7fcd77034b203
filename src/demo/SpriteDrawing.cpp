#include "demo/DemoContext.h"
#include "demo/EngineCompat.h"
#include "platform/DemoGeometry.h"

using namespace irr;

namespace
{
// Two triangles over the four corners: top left, top right, bottom left, bottom right.
const u16 QUAD_INDICES[6] = {0, 1, 2, 1, 3, 2};

// The virtual screen is 640 x 480 units; its centre is the camera's origin.
const f32 HALF_WIDTH = 320.0f;
const f32 HALF_HEIGHT = 240.0f;

// Saves the driver's three transforms and puts them back when it goes out of scope.
class SavedTransforms
{
public:
    explicit SavedTransforms(video::IVideoDriver* driver)
        : driver(driver), projection(driver->getTransform(video::ETS_PROJECTION)),
          view(driver->getTransform(video::ETS_VIEW)), world(driver->getTransform(video::ETS_WORLD))
    {
    }
    ~SavedTransforms()
    {
        driver->setTransform(video::ETS_PROJECTION, projection);
        driver->setTransform(video::ETS_VIEW, view);
        driver->setTransform(video::ETS_WORLD, world);
    }

private:
    video::IVideoDriver* driver;
    core::matrix4 projection, view, world;
};

// An orthographic camera that shows the world point (x, y, 0) at screen
// position (x + 320, y + 240), y downwards, at the very front of the depth range.
void setScreenCamera(video::IVideoDriver* driver, const core::matrix4& world)
{
    core::matrix4 projection;
    projection.buildProjectionMatrixOrthoLH(SCREEN_WIDTH, SCREEN_HEIGHT, 0.1f, 1000.0f);
    core::matrix4 view;
    view.buildCameraLookAtMatrixLH(core::vector3df(0, 0, 1), core::vector3df(0, 0, 0), core::vector3df(0, -1, 0));
    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setTransform(video::ETS_VIEW, view);
    driver->setTransform(video::ETS_WORLD, world);
}

video::SMaterial spriteMaterial(video::ITexture* texture, s32 flags, const video::SColor& emissive)
{
    video::SMaterial material;
    material.setTexture(0, texture);
    material.MaterialType = (flags & DemoContext::SPRITE_ADDITIVE) ? video::EMT_TRANSPARENT_ADD_COLOR
                                                                   : video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    if (material.MaterialType == video::EMT_TRANSPARENT_ALPHA_CHANNEL)
        material.MaterialTypeParam = ALPHA_CHANNEL_REFERENCE;
    material.Lighting = false;
    material.BackfaceCulling = false;
    material.AmbientColor = video::SColor(0, 0, 0, 0);
    material.DiffuseColor = video::SColor(0, 0, 0, 0);
    material.EmissiveColor = emissive;
    return material;
}

void drawQuad(video::IVideoDriver* driver, f32 left, f32 top, f32 right, f32 bottom, f32 tu1, f32 tv1, f32 tu2, f32 tv2,
              const video::SColor& colour)
{
    const core::vector3df normal(0, 0, -1);
    const video::S3DVertex vertices[4] = {
        video::S3DVertex(core::vector3df(left, top, 0), normal, colour, core::vector2df(tu1, tv1)),
        video::S3DVertex(core::vector3df(right, top, 0), normal, colour, core::vector2df(tu2, tv1)),
        video::S3DVertex(core::vector3df(left, bottom, 0), normal, colour, core::vector2df(tu1, tv2)),
        video::S3DVertex(core::vector3df(right, bottom, 0), normal, colour, core::vector2df(tu2, tv2)),
    };
    driver->drawIndexedTriangleList(vertices, 4, QUAD_INDICES, 2);
}
} // namespace

void DemoContext::drawSprite(video::ITexture* texture, f32 x1, f32 y1, f32 x2, f32 y2, f32 tu1, f32 tv1, f32 tu2,
                             f32 tv2, const video::SColor& colour, s32 flags)
{
    const SavedTransforms saved(currentDriver);
    setScreenCamera(currentDriver, core::IdentityMatrix);

    video::SMaterial material = spriteMaterial(texture, flags, video::SColor(255, 255, 255, 255));
    material.setFlag(video::EMF_BILINEAR_FILTER, !(flags & SPRITE_NO_FILTER));
    currentDriver->setMaterial(material);

    drawQuad(currentDriver, x1 - HALF_WIDTH, y1 - HALF_HEIGHT, x2 - HALF_WIDTH, y2 - HALF_HEIGHT, tu1, tv1, tu2, tv2,
             colour);
}

void DemoContext::drawSpriteRotated(video::ITexture* texture, core::rect<f32> destination, f32 tu1, f32 tv1, f32 tu2,
                                    f32 tv2, const video::SColor& colour, f32 angle, s32 flags)
{
    const SavedTransforms saved(currentDriver);
    // The quad is built around the origin, turned about the view axis and
    // moved to the destination's centre.
    const f32 cx = (destination.UpperLeftCorner.X + destination.LowerRightCorner.X) / 2;
    const f32 cy = (destination.UpperLeftCorner.Y + destination.LowerRightCorner.Y) / 2;
    core::matrix4 world;
    world.setRotationRadians(core::vector3df(0, 0, angle));
    world.setTranslation(core::vector3df(cx - HALF_WIDTH, cy - HALF_HEIGHT, 0));
    setScreenCamera(currentDriver, world);

    // Filtering stays at the engine default here.
    currentDriver->setMaterial(spriteMaterial(texture, flags, video::SColor(255, 0, 255, 255)));

    const f32 w = destination.getWidth();
    const f32 h = destination.getHeight();
    drawQuad(currentDriver, -w / 2, -h / 2, w / 2, h / 2, tu1, tv1, tu2, tv2, colour);
}
