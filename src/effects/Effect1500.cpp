#include "effects/Effect1500.h"

#include "assets/ModelFile.h"
#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "effects/DirectionalLight.h"
#include "effects/Flight.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{

const core::recti BACKGROUND_SOURCE(0, 0, 512, 512);
// The stretched target leaves out its last row and column of texels.
const core::recti TARGET_SOURCE(0, 0, 31, 31);

const video::SColor PINK(255, 255, 0, 128);
// Hot pink is just over the saturated-red line (red 0.8 of R + G + B in
// linear light: 0.82), so the picture's beat on it counts as red flashes.
// Gentle mode's pink is a touch paler (0.75, and 0.79 under the arches'
// orange veil), so nothing on it ever counts as saturated red.
const video::SColor GENTLE_PINK(255, 255, 40, 150);
const video::SColor TRANSPARENT_BLACK(0, 0, 0, 0);
const video::SColor OPAQUE_BLACK(255, 0, 0, 0);
const video::SColor OPAQUE_WHITE(255, 255, 255, 255);
// The arches' opacity in gentle mode.
const video::SColor GENTLE_VEIL(40, 255, 255, 255);

// Both cameras' up vectors run round circles wider than 1: they roll through full turns.
const f32 ROLL_RADIUS = 2.55f;
} // namespace

void Effect1500::Effect1500Override::apply(const video::SMaterial& bufferMaterial)
{
    DemoContext::instance()->getDriver()->setMaterial(flight::glowingMaterial(bufferMaterial, OPAQUE_BLACK));
}

Effect1500::Effect1500()
    : luluTexture(nullptr), dadaTexture(nullptr), backgroundTexture(nullptr), renderTarget(nullptr), model(nullptr)
{
}

void Effect1500::init()
{
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    projection = demoProjection();
    world.makeIdentity();
    model = loadModel(context->getSceneManager(), "../data/models/arks3.obj");
    luluTexture = loadTexture(driver, "../data/textures/lulu.png");
    dadaTexture = loadTexture(driver, "../data/textures/dada.png");
    backgroundTexture = loadTexture(driver, "../data/textures/uvo_back.png");
    renderTarget = driver->addRenderTargetTexture(core::dimension2du(32, 32), "Effect1500 target");
}

void Effect1500::update(float dt)
{
    advance(dt);
    const f32 t = getLocalTime();
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();

    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setAmbientLight(video::SColorf(OPAQUE_WHITE));
    scene::IMesh* mesh = model ? model->getMesh(0, 255, -1, -1) : nullptr;
    Effect1500Override flatOrange;
    world.makeIdentity();

    // Both cameras draw into the same cleared target; a model that failed
    // to load leaves it empty.
    driver->setRenderTarget(renderTarget, true, true, TRANSPARENT_BLACK);
    if (mesh)
    {
        drawPass(mesh, flight::flyingCamera(t, -410, 0.5f, ROLL_RADIUS, 0), flatOrange);
        // The second camera flies 60 units ahead, 15 radians further on in its roll.
        drawPass(mesh, flight::flyingCamera(t, -350, 0.7f, ROLL_RADIUS, 15), flatOrange);
    }
    driver->setRenderTarget(nullptr, true, true, TRANSPARENT_BLACK);

    driver->draw2DRectangle(DemoContext::instance()->isGentle() ? GENTLE_PINK : PINK, SCREEN_AREA, nullptr);

    // The picture shows only its alpha shape, in black, for the first half of
    // every second. Gentle mode keeps the beat but fades between the two
    // (a cosine through each second) instead of switching.
    video::SColor shade = std::fmod(t, 1.0f) < 0.5f ? OPAQUE_BLACK : OPAQUE_WHITE;
    if (DemoContext::instance()->isGentle())
    {
        const f32 level = 0.5f - 0.5f * std::cos(2 * DEMO_PI * t);
        const u32 grey = static_cast<u32>(255 * level);
        shade = video::SColor(255, grey, grey, grey);
    }
    const video::SColor corners[4] = {shade, shade, shade, shade};
    driver->draw2DImage(backgroundTexture, SCREEN_AREA, BACKGROUND_SOURCE, nullptr, corners, true);

    // The arches sweep across the screen several times a second; gentle mode
    // keeps them as a faint orange veil, too close to the pink to flash.
    if (DemoContext::instance()->isGentle())
    {
        const video::SColor veil[4] = {GENTLE_VEIL, GENTLE_VEIL, GENTLE_VEIL, GENTLE_VEIL};
        driver->draw2DImage(renderTarget, SCREEN_AREA, TARGET_SOURCE, nullptr, veil, true);
    }
    else
        driver->draw2DImage(renderTarget, SCREEN_AREA, TARGET_SOURCE, nullptr, nullptr, true);
}

void Effect1500::drawPass(scene::IMesh* mesh, const flight::Camera& camera, MaterialOverride& materialOverride)
{
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    // The up vector goes in as computed, not normalised.
    view.buildCameraLookAtMatrixLH(camera.position, camera.target, camera.up);
    driver->setTransform(video::ETS_VIEW, view);
    // The driver fixes a light against the view in force when the light is
    // added; adding it after each camera keeps it shining along world +z.
    driver->deleteAllDynamicLights();
    driver->addDynamicLight(directionalLight(core::vector3df(0, 0, 1), video::SColorf(OPAQUE_WHITE)));
    context->drawMeshAt(mesh, world, &materialOverride);
}

void Effect1500::shutdown() {}
