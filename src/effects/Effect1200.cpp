#include "effects/Effect1200.h"

#include "assets/ModelFile.h"
#include "demo/DemoContext.h"
#include "effects/DirectionalLight.h"
#include "platform/DemoGeometry.h"

using namespace irr;

namespace
{

const video::SColor PALE_YELLOW(255, 255, 255, 140);
const video::SColor OPAQUE_WHITE(255, 255, 255, 255);
} // namespace

void Effect1200::Effect1200Override::apply(const video::SMaterial& bufferMaterial)
{
    video::SMaterial material = bufferMaterial;
    material.Lighting = false;
    material.setFlag(video::EMF_BILINEAR_FILTER, false);
    DemoContext::instance()->getDriver()->setMaterial(material);
}

Effect1200::Effect1200() : model(nullptr) {}

void Effect1200::init()
{
    view.buildCameraLookAtMatrixLH(core::vector3df(4, 0, -3.5f), core::vector3df(1, 0, 0), core::vector3df(0, 1, 0));
    projection = demoProjection();
    world.makeIdentity();
    model = loadModel(DemoContext::instance()->getSceneManager(), "../data/models/shape_1a.obj");
}

void Effect1200::update(float)
{
    // The effect's own clock stays at 0: the copies turn with the demo clock.
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    const f32 demoTime = context->getDemoTime();

    driver->draw2DRectangle(PALE_YELLOW, SCREEN_AREA, nullptr);

    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setTransform(video::ETS_VIEW, view);
    // The driver fixes a light against the view in force when the light is
    // added; adding it after the view keeps it in world space. The copies are
    // drawn unlit, so it shows only in the engine's state.
    driver->deleteAllDynamicLights();
    driver->addDynamicLight(directionalLight(core::vector3df(0, 0, 1), video::SColorf(OPAQUE_WHITE)));
    driver->setAmbientLight(video::SColorf(OPAQUE_WHITE));

    // A shape that failed to load leaves the backdrop bare.
    if (!model)
        return;
    scene::IMesh* mesh = model->getMesh(0, 255, -1, -1);
    Effect1200Override unlit;
    // One turn for all three: demoTime radians about y, tilted by 1 radian
    // about z. The camera at (4, 0, -3.5) sees the copy at x = 4 nearest.
    for (s32 i = 0; i < 3; ++i)
    {
        world.makeIdentity();
        world.setRotationRadians(core::vector3df(0, demoTime, 1));
        world.setTranslation(core::vector3df(static_cast<f32>(4 * i - 4), 0, 0));
        context->drawMeshAt(mesh, world, &unlit);
    }
}

void Effect1200::shutdown() {}
