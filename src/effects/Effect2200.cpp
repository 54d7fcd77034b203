#include "effects/Effect2200.h"

#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{
const video::SColor BACKGROUND(255, 255, 222, 230);

const core::recti CAT_SOURCE(0, 0, 256, 256);
const core::recti FOOD_SOURCE(0, 0, 128, 128);
const core::recti HEART_SOURCE(0, 0, 16, 16);

const int FOOD_ITEMS = 8;
const int FOOD_SPACING = 64;

const int HEART_COUNT = 3;
const s32 heartX[HEART_COUNT] = {60, 100, 140};
const s32 heartY[HEART_COUNT] = {80, 160, 100};

void drawImage(video::IVideoDriver* driver, video::ITexture* texture, f32 left, f32 top, f32 right, f32 bottom,
               const core::recti& source)
{
    const core::recti destination(static_cast<s32>(left), static_cast<s32>(top), static_cast<s32>(right),
                                  static_cast<s32>(bottom));
    driver->draw2DImage(texture, destination, source, nullptr, nullptr, true);
}
} // namespace

void Effect2200::init()
{
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();
    catTextures[0] = loadTexture(driver, "../data/textures/katze1.png");
    catTextures[1] = loadTexture(driver, "../data/textures/katze2.png");
    foodTextures[0] = loadTexture(driver, "../data/textures/food1.png");
    foodTextures[1] = loadTexture(driver, "../data/textures/food2.png");
    foodTextures[2] = loadTexture(driver, "../data/textures/food3.png");
    heartTexture = loadTexture(driver, "../data/textures/hearticle.png");
}

void Effect2200::update(float dt)
{
    advance(dt);
    const f32 t = localTime;
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();

    driver->draw2DRectangle(BACKGROUND, SCREEN_AREA, nullptr);

    // The cat changes frame every quarter second and breathes once every 2π seconds.
    const int catFrame = static_cast<int>(t * 4) % 2;
    const f32 catGrowth = std::sin(t) * 20;
    drawImage(driver, catTextures[catFrame], 40 - catGrowth, 160 - catGrowth, 200 + catGrowth, 320 + catGrowth,
              CAT_SOURCE);

    // The conveyor slides left at 100 pixels per second and jumps back by one
    // item every 0.64 s; every item shows the same food, which changes every third of a second.
    const int foodFrame = static_cast<int>(t * 3) % 3;
    for (int i = 0; i < FOOD_ITEMS; ++i)
    {
        const int scroll = static_cast<int>(t * 100) % FOOD_SPACING;
        const f32 bob = static_cast<f32>(std::sin(static_cast<double>(t) * 4 + i) * 30);
        const f32 growth = static_cast<f32>(std::sin(static_cast<double>(t) * 5 + i * 1.5) * 10);
        const int x = i * FOOD_SPACING + 200 - scroll;
        drawImage(driver, foodTextures[foodFrame], x - growth, 208 - bob - growth, x + 64 + growth, 272 - bob + growth,
                  FOOD_SOURCE);
    }

    // Hearts pulse three times as fast as the cat, each out of step with the others.
    for (int i = 0; i < HEART_COUNT; ++i)
    {
        const f32 w = std::sin(t * 3 + i) * 20;
        drawImage(driver, heartTexture, heartX[i] - w + 14 * i, heartY[i] - w, heartX[i] + 70 + w + 14 * i,
                  heartY[i] + 70 + w, HEART_SOURCE);
    }
}

void Effect2200::shutdown() {}
