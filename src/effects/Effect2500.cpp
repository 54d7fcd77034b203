#include "effects/Effect2500.h"

#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{
const video::SColor BACKGROUND(255, 16, 64, 0);
const video::SColor HIDDEN(255, 0, 0, 0);
const video::SColor SHOWN(255, 255, 255, 255);

const int TILE_ROWS = 8;
const int TILE_COLUMNS = 5;
const int TILE_WIDTH = 128;
const int TILE_HEIGHT = 60;
const core::recti TILE_SOURCE(0, 0, 32, 8);
const core::recti PULSE_SOURCE(0, 0, 512, 256);

// The image snaps back to its smallest size every this many seconds.
const f32 PULSE_PERIOD = 0.31f;
} // namespace

void Effect2500::init()
{
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();
    gridTexture = loadTexture(driver, "../data/textures/lulu.png");
    pulseTexture = loadTexture(driver, "../data/textures/na!.png");
}

void Effect2500::update(float dt)
{
    advance(dt);
    const f32 t = localTime;
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();

    // Tiles are black for the first half of every second, then in their own colours.
    const video::SColor tint = std::fmod(t, 1.0f) < 0.5f ? HIDDEN : SHOWN;
    const video::SColor tileColours[4] = {tint, tint, tint, tint};

    driver->draw2DRectangle(BACKGROUND, SCREEN_AREA, nullptr);

    for (int i = 0; i < TILE_ROWS; ++i)
    {
        for (int j = 0; j < TILE_COLUMNS; ++j)
        {
            const core::recti destination(TILE_WIDTH * j, TILE_HEIGHT * i, TILE_WIDTH * j + TILE_WIDTH,
                                          TILE_HEIGHT * i + TILE_HEIGHT);
            driver->draw2DImage(gridTexture, destination, TILE_SOURCE, nullptr, tileColours, true);
        }
    }

    // Half-width of the image: 20 up to just under 190.5, centred with a 4:3 aspect.
    const f32 s = static_cast<f32>(std::fmod(static_cast<double>(t), static_cast<double>(PULSE_PERIOD)) * 550 + 20);
    const core::recti destination(static_cast<s32>(320 - s), static_cast<s32>(240 - 0.75f * s),
                                  static_cast<s32>(320 + s), static_cast<s32>(240 + 0.75f * s));
    driver->draw2DImage(pulseTexture, destination, PULSE_SOURCE, nullptr, nullptr, true);
}

void Effect2500::shutdown() {}
