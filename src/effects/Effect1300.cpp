#include "effects/Effect1300.h"

#include "assets/ModelFile.h"
#include "demo/DemoContext.h"
#include "effects/DirectionalLight.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{

const video::SColor BACKDROP(255, 16, 16, 20);
const video::SColor TRANSPARENT_BLACK(0, 0, 0, 0);
const video::SColor OPAQUE_WHITE(255, 255, 255, 255);
const video::SColor CYAN_GLOW(128, 0, 255, 255);
const video::SColor GREY_GLOW(128, 32, 32, 32);

// One copy of the source drawn by a blur pass, in the 640 x 480 virtual
// screen that covers the whole target. Half a unit is a tenth of a texel
// across and about an eighth of one down in a 128 x 128 target.
struct BlurCopy
{
    f32 left, top, right, bottom;
    video::SColor colour;
    s32 flags;
};
const video::SColor QUARTER_WHITE(64, 255, 255, 255);
const BlurCopy BLUR_COPIES[5] = {
    {0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, OPAQUE_WHITE, DemoContext::SPRITE_ADDITIVE},
    {-0.5f, 0, SCREEN_WIDTH - 0.5f, SCREEN_HEIGHT, QUARTER_WHITE, DemoContext::SPRITE_ADDITIVE},
    {0.5f, 0, SCREEN_WIDTH + 0.5f, SCREEN_HEIGHT, QUARTER_WHITE, 0},
    {0, -0.5f, SCREEN_WIDTH, SCREEN_HEIGHT - 0.5f, QUARTER_WHITE, 0},
    {0, 0.5f, SCREEN_WIDTH, SCREEN_HEIGHT + 0.5f, QUARTER_WHITE, 0},
};
} // namespace

Effect1300::Effect1300() : model(nullptr), renderTargetA(nullptr), renderTargetB(nullptr) {}

void Effect1300::init()
{
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    // Behind and above the origin, looking along +y a little downwards; z is up.
    view.buildCameraLookAtMatrixLH(core::vector3df(0, -7, 4), core::vector3df(0, 5, 2), core::vector3df(0, 0, 1));
    projection = demoProjection();
    world.makeIdentity();
    model = loadModel(context->getSceneManager(), "../data/models/town_04.obj");
    renderTargetA = driver->addRenderTargetTexture(core::dimension2du(128, 128), "Effect1300 target A");
    renderTargetB = driver->addRenderTargetTexture(core::dimension2du(128, 128), "Effect1300 target B");
}

void Effect1300::update(float)
{
    // The effect's own clock stays at 0: the town moves with the demo clock.
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();

    driver->draw2DRectangle(BACKDROP, SCREEN_AREA, nullptr);

    // The glow: the scene small in A, blurred into B and back into A. Without
    // both targets there is no glow, only the sharp scene.
    const bool glow = renderTargetA && renderTargetB;
    if (glow)
    {
        driver->setRenderTarget(renderTargetA, true, true, TRANSPARENT_BLACK);
        drawScene();
        blurPass(renderTargetA, renderTargetB);
        blurPass(renderTargetB, renderTargetA);
    }

    // Back on the screen, which is cleared again: the backdrop does not survive.
    driver->setRenderTarget(nullptr, true, true, TRANSPARENT_BLACK);
    drawScene();

    // The twice-blurred scene added over the sharp one, stretched back to 4:3.
    if (glow)
    {
        context->drawSprite(renderTargetA, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0, 1, 1, CYAN_GLOW,
                            DemoContext::SPRITE_ADDITIVE);
        context->drawSprite(renderTargetA, 0, 0, SCREEN_WIDTH, SCREEN_HEIGHT, 0, 0, 1, 1, GREY_GLOW,
                            DemoContext::SPRITE_ADDITIVE);
    }
}

void Effect1300::drawScene()
{
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();

    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setTransform(video::ETS_VIEW, view);
    // The driver fixes a light against the view in force when the light is
    // added; the camera never moves, so adding the lights after its view keeps
    // them in world space.
    driver->deleteAllDynamicLights();
    driver->addDynamicLight(directionalLight(core::vector3df(1, 1, 0), video::SColorf(1, 1, 1, 1)));
    driver->addDynamicLight(directionalLight(core::vector3df(-1, -2, 0), video::SColorf(0.4f, 0.3f, 0.4f, 1)));
    driver->setAmbientLight(video::SColorf(OPAQUE_WHITE));

    if (!model)
        return;
    // The town slides along the view between y = -35 and y = 5, one swing
    // every 8 pi seconds; at demo time 0 it stands at y = -15.
    const f32 demoTime = context->getDemoTime();
    const f32 y = static_cast<f32>(20 * std::sin(double(demoTime / 4.0f)) - 15);
    world.makeIdentity();
    world.setTranslation(core::vector3df(0, y, 0));
    // Every buffer with its own material.
    context->drawMeshAt(model->getMesh(0, 255, -1, -1), world, nullptr);
}

void Effect1300::blurPass(video::ITexture* source, video::ITexture* target)
{
    DemoContext* context = DemoContext::instance();
    // The driver sets the viewport to the target's size, so the sprites'
    // 640 x 480 virtual screen covers the whole target; it samples render
    // targets upright, so the copy does not flip.
    context->getDriver()->setRenderTarget(target, true, true, TRANSPARENT_BLACK);
    for (const BlurCopy& copy : BLUR_COPIES)
        context->drawSprite(source, copy.left, copy.top, copy.right, copy.bottom, 0, 0, 1, 1, copy.colour, copy.flags);
}

void Effect1300::shutdown() {}
