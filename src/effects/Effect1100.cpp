#include "effects/Effect1100.h"

#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "demo/EngineCompat.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{

const core::recti BAND(0, 140, SCREEN_WIDTH, 380);
// The rabbit pictures are drawn from their top left 31 x 31 texels.
const core::recti RABBIT_SOURCE(0, 0, 31, 31);

const video::SColor PALE_YELLOW(255, 255, 255, 140);
const video::SColor GREY(255, 92, 92, 92);
const video::SColor WHITE(255, 255, 255, 255);

const u32 ARMS = 5;
// Each arm is a band of 50 segments: an outer and an inner vertex per step.
const u32 STEPS = 51;
const u32 RIBBON_VERTICES = 2 * STEPS;
const u32 RIBBON_TRIANGLES = 2 * (STEPS - 1);
} // namespace

Effect1100::Effect1100() : stripesTexture(nullptr), rabbit1Texture(nullptr), rabbit2Texture(nullptr) {}

void Effect1100::init()
{
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();
    view.buildCameraLookAtMatrixLH(core::vector3df(0, 0, -2.5f), core::vector3df(0, 0, 0), core::vector3df(0, 1, 0));
    projection = demoProjection();
    world.makeIdentity();
    rabbit1Texture = loadTexture(driver, "../data/textures/rabbit1.png");
    rabbit2Texture = loadTexture(driver, "../data/textures/rabbit2.png");
    stripesTexture = loadTexture(driver, "../data/textures/stripes4.png");

    // Unlit: the ribbons take the stripes' colours, blended by their alpha.
    ribbonMaterial.setTexture(0, stripesTexture);
    ribbonMaterial.MaterialType = video::EMT_TRANSPARENT_ALPHA_CHANNEL;
    ribbonMaterial.MaterialTypeParam = ALPHA_CHANNEL_REFERENCE;
    ribbonMaterial.Lighting = false;
    ribbonMaterial.BackfaceCulling = false;
    ribbonMaterial.AmbientColor = video::SColor(0, 0, 0, 0);
    ribbonMaterial.DiffuseColor = video::SColor(0, 0, 0, 0);
    ribbonMaterial.EmissiveColor = video::SColor(255, 0, 255, 255);
}

void Effect1100::update(float dt)
{
    advance(dt);
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();
    // The spirals and the rabbit's picture follow the demo clock, so they do
    // not restart with the section; the rabbit's size follows the section's own.
    const f32 T = context->getDemoTime();

    driver->setTransform(video::ETS_PROJECTION, projection);
    driver->setTransform(video::ETS_VIEW, view);
    driver->setTransform(video::ETS_WORLD, world);
    driver->setAmbientLight(video::SColorf(WHITE));

    driver->draw2DRectangle(PALE_YELLOW, SCREEN_AREA, nullptr);
    driver->draw2DRectangle(GREY, BAND, nullptr);

    // Three stars turning at their own speeds, each swinging between x = -1 and 1.
    const double swing = T; // the swings' sines are taken in double precision
    drawSpiral(T * 3.8f, core::vector2df(static_cast<f32>(std::sin(swing)), 0), ribbonMaterial);
    drawSpiral(T * 4 + 2.5f, core::vector2df(static_cast<f32>(std::sin(swing + DEMO_PI / 3)), 0), ribbonMaterial);
    drawSpiral(T * 2.5f - 12, core::vector2df(static_cast<f32>(std::sin(swing + DEMO_PI / 4)), 0), ribbonMaterial);

    // A fraction of exactly one half still shows the second picture.
    video::ITexture* rabbit = std::fmod(T, 1.0f) > 0.5f ? rabbit1Texture : rabbit2Texture;
    // Half the side falls from 300 to just above 150 every half second, and is
    // doubled for the first 1.25 s of every 2.5 s. Each snap back to full size
    // swings the light of the areas the rabbit's edge sweeps: 3.5 flashes a
    // second. Gentle mode keeps the beat and the leap, and makes the fall half
    // as deep (300 to 225), which keeps within three.
    const f32 t = getLocalTime();
    const f32 fall = DemoContext::instance()->isGentle() ? 0.75f : 1.5f;
    f32 s = 300 - std::fmod(t * 200, 100.0f) * fall;
    if (std::fmod(t, 2.5f) < 1.25f)
        s = s + s;
    const core::recti rabbitArea(static_cast<s32>(320 - s), static_cast<s32>(240 - s), static_cast<s32>(320 + s),
                                 static_cast<s32>(240 + s));
    driver->draw2DImage(rabbit, rabbitArea, RABBIT_SOURCE, nullptr, nullptr, true);
}

void Effect1100::drawSpiral(f32 phase, const core::vector2df& centre, const video::SMaterial& material)
{
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();
    driver->setMaterial(material);

    // Two triangles per segment between steps i and i + 1; the same for every arm.
    u16 indices[3 * RIBBON_TRIANGLES];
    for (u32 i = 0; i + 1 < STEPS; ++i)
    {
        const u16 outer = static_cast<u16>(2 * i);
        u16* segment = indices + 6 * i;
        segment[0] = outer;
        segment[1] = outer + 1;
        segment[2] = outer + 2;
        segment[3] = outer + 1;
        segment[4] = outer + 3;
        segment[5] = outer + 2;
    }

    video::S3DVertex vertices[RIBBON_VERTICES];
    const core::vector3df normal(0, 0, -1);
    const f32 h = phase / 2;
    for (u32 k = 0; k < ARMS; ++k)
    {
        for (u32 i = 0; i < STEPS; ++i)
        {
            // An Archimedean spiral through 2.5 turns with a radial wobble;
            // the arms are 72 degrees apart.
            const f32 theta = i * DEMO_PI / 20 + h + (2 * k) * DEMO_PI / 5;
            const f32 r = static_cast<f32>(std::sin(7.5 * theta + h) + i / 9.4f);
            const f32 c = std::cos(theta);
            const f32 sn = std::sin(theta);
            // The stripes run across the band in u and along it in v, scrolling with the phase.
            const f32 v = phase + i / 8.0f;
            vertices[2 * i] = video::S3DVertex(core::vector3df(c * r + centre.X, sn * r + centre.Y, 0), normal, WHITE,
                                               core::vector2df(0, v));
            const f32 inner = r * 0.95f;
            vertices[2 * i + 1] = video::S3DVertex(core::vector3df(c * inner + centre.X, sn * inner + centre.Y, 0),
                                                   normal, WHITE, core::vector2df(1, v));
        }
        driver->drawIndexedTriangleList(vertices, RIBBON_VERTICES, indices, RIBBON_TRIANGLES);
    }
}

void Effect1100::shutdown() {}
