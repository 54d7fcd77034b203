#include "effects/Effect1600.h"

#include "assets/ModelFile.h"
#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "effects/DirectionalLight.h"
#include "effects/Flight.h"
#include "platform/DemoGeometry.h"

using namespace irr;

namespace
{

const video::SColor GREEN(255, 0, 255, 0);
const video::SColor OPAQUE_WHITE(255, 255, 255, 255);

// The up vector runs round a circle narrower than 1: the camera only sways,
// by at most about 8.6 degrees either side of upright.
const f32 SWAY_RADIUS = 0.15f;
} // namespace

void Effect1600::Effect1600Override::apply(const video::SMaterial& bufferMaterial)
{
    DemoContext::instance()->getDriver()->setMaterial(flight::glowingMaterial(bufferMaterial, OPAQUE_WHITE));
}

Effect1600::Effect1600() : luluTexture(nullptr), dadaTexture(nullptr), bloodTexture(nullptr), model(nullptr) {}

void Effect1600::init()
{
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    projection = demoProjection();
    world.makeIdentity();
    model = loadModel(context->getSceneManager(), "../data/models/arks5.obj");
    // Loaded with the others at start-up, though this effect draws none of them.
    luluTexture = loadTexture(driver, "../data/textures/lulu.png");
    dadaTexture = loadTexture(driver, "../data/textures/dada.png");
    bloodTexture = loadTexture(driver, "../data/textures/blood.png");
}

void Effect1600::update(float dt)
{
    advance(dt);
    const f32 t = getLocalTime();
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();

    driver->draw2DRectangle(GREEN, SCREEN_AREA, nullptr);

    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setAmbientLight(video::SColorf(OPAQUE_WHITE));
    const flight::Camera camera = flight::flyingCamera(t, -400, 0.2f, SWAY_RADIUS, 0);
    view.buildCameraLookAtMatrixLH(camera.position, camera.target, camera.up);
    driver->setTransform(video::ETS_VIEW, view);
    // The driver fixes a light against the view in force when the light is
    // added; adding it after the camera keeps it shining along world +z.
    driver->deleteAllDynamicLights();
    driver->addDynamicLight(directionalLight(core::vector3df(0, 0, 1), video::SColorf(OPAQUE_WHITE)));

    // Drawn over the rectangle, which leaves the depth buffer alone; a model
    // that failed to load leaves the screen green.
    scene::IMesh* mesh = model ? model->getMesh(0, 255, -1, -1) : nullptr;
    Effect1600Override whiteAndOrange;
    world.makeIdentity();
    if (mesh)
        context->drawMeshAt(mesh, world, &whiteAndOrange);
}

void Effect1600::shutdown() {}
