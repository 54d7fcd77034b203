#include "effects/Effect1000.h"

#include "assets/TextureFile.h"
#include "demo/DemoContext.h"
#include "platform/DemoGeometry.h"

#include <cmath>

using namespace irr;

namespace
{
// The beat pattern: five trigger times within each period of 2.526 s.
const f32 TRIGGER_OFFSETS[5] = {0.0f, 0.635f, 1.1f, 1.26f, 1.89f};
const f32 PATTERN_PERIOD = 2.526f;
const int PATTERN_REPEATS = 10;
const f32 TRIGGER_WINDOW = 0.02f;

const video::SColor BLACK(255, 0, 0, 0);
const video::SColor ODD_BAND(255, 255, 128, 255);
const video::SColor EVEN_BAND(255, 255, 255, 0);
const video::SColor PARTICLE_COLOURS[4] = {
    video::SColor(255, 255, 128, 128),
    video::SColor(255, 255, 255, 128),
    video::SColor(255, 128, 255, 128),
    video::SColor(255, 255, 128, 255),
};

const int ROWS = 8;
const int COLUMNS = 12;
const int CELL = 64;

const core::recti TILE_SOURCE(0, 0, 256, 256);
const core::recti LOGO_SOURCE(0, 0, 512, 256);
const core::recti LOGO_DESTINATION(64, 112, 576, 368);

bool isOdd(int n)
{
    return n % 2 != 0;
}

f32 clamp01(f32 v)
{
    return v < 0.0f ? 0.0f : (v > 1.0f ? 1.0f : v);
}
} // namespace

Effect1000::Effect1000()
{
    // The burst is the one array this effect fills; room for it is made up
    // front so that no frame allocates.
    particles.reserve(PARTICLE_COUNT);
}

void Effect1000::init()
{
    video::IVideoDriver* driver = DemoContext::instance()->getDriver();
    tileTexture = loadTexture(driver, "../data/textures/katze.png");
    logoTexture = loadTexture(driver, "../data/textures/na!.png");
    particleTexture = loadTexture(driver, "../data/textures/starticle.png");
    flash = 0.0f;
    lastTrigger = -1;
}

void Effect1000::update(float dt)
{
    advance(dt);
    const f32 lt = localTime;
    DemoContext* context = DemoContext::instance();
    video::IVideoDriver* driver = context->getDriver();

    // The grid scrolls 64 units per second of demo time.
    const int scroll = static_cast<int>(context->getDemoTime() * 64) % 64;

    driver->draw2DRectangle(BLACK, SCREEN_AREA, nullptr);

    const bool triggered = scanTriggers(lt);
    if (triggered)
        flash = 1.0f;
    flash = flash - dt;
    if (flash < 0.0f)
        flash = 0.0f;

    drawBands(driver, lt);
    drawGrid(driver, lt, scroll);

    if (lt > PATTERN_PERIOD * 3)
    {
        if (particles.empty())
            spawnParticles();
        driver->draw2DImage(logoTexture, LOGO_DESTINATION, LOGO_SOURCE, nullptr, nullptr, true);
    }

    // The stars run at twice the speed of the clock.
    updateParticles(2 * dt);
}

void Effect1000::shutdown() {}

void Effect1000::restart()
{
    Effect::restart();
    flash = 0.0f;
    lastTrigger = -1;
    particles.clear(); // the room made for them stays
    random = LinearCongruentialGenerator();
}

bool Effect1000::scanTriggers(float lt)
{
    // A trigger fires only in a frame whose time lies strictly inside its
    // window; a window that falls between two frames is lost, not made up.
    bool fired = false;
    for (int r = 0; r < 5; ++r)
    {
        for (int j = 0; j < PATTERN_REPEATS; ++j)
        {
            const f32 x = j * PATTERN_PERIOD + TRIGGER_OFFSETS[r];
            if (x < lt && x + TRIGGER_WINDOW > lt && lastTrigger != r)
            {
                fired = true;
                lastTrigger = r;
                break;
            }
        }
    }
    return fired;
}

void Effect1000::drawBands(video::IVideoDriver* driver, float lt) const
{
    // The bands grow to full thickness during the first two seconds and
    // swell with the flash, which also blacks them out while it is strong.
    const f32 base = lt * 32 < 64 ? lt * 32 : 64.0f;
    const int k = static_cast<int>(flash * 16 + base);
    for (int r = 0; r < ROWS; ++r)
    {
        video::SColor colour = isOdd(r) ? ODD_BAND : EVEN_BAND;
        if (flash > 0.7f)
            colour = BLACK;
        const int y = r * CELL + CELL / 2;
        driver->draw2DRectangle(colour, core::recti(0, y - k / 2, SCREEN_WIDTH, y + k / 2), nullptr);
    }
}

void Effect1000::drawGrid(video::IVideoDriver* driver, float lt, int scroll) const
{
    // Odd rows fade in first, even rows one pattern period later.
    const f32 fadeOdd = clamp01((lt - 2.01f) / 0.3f);
    const f32 fadeEven = clamp01((lt - 4.537f) / 0.3f);
    const f32 pulse = (std::fabs(std::sin(3 * lt) * 0.15f) + 0.7f) * 48;
    for (int r = 0; r < ROWS; ++r)
    {
        for (int c = 0; c < COLUMNS; ++c)
        {
            f32 size = pulse * (isOdd(r) ? fadeOdd : fadeEven);
            // Alternate columns jump on each trigger; which half jumps
            // follows the parity of the entry that fired.
            if (isOdd(c) == isOdd(lastTrigger))
                size = size + flash * 16;
            // Odd rows move left, even rows right.
            const int offset = isOdd(r) ? -scroll : scroll - CELL;
            const int x = offset + c * CELL + CELL / 2;
            const int y = r * CELL + CELL / 2;
            const core::recti destination(static_cast<s32>(x - size / 2), static_cast<s32>(y - size / 2),
                                          static_cast<s32>(x + size / 2), static_cast<s32>(y + size / 2));
            driver->draw2DImage(tileTexture, destination, TILE_SOURCE, nullptr, nullptr, true);
        }
    }
}

void Effect1000::spawnParticles()
{
    // Eight draws per star, always in this order, so the burst never changes.
    for (int n = 0; n < PARTICLE_COUNT; ++n)
    {
        Particle p;
        p.position.X = static_cast<f32>(random.next() % 500 + 70);
        p.position.Y = static_cast<f32>(random.next() % 320 + 80);
        p.position.Z = 0.0f;
        p.velocity.X = static_cast<f32>(random.next() % 250 - 125);
        // The remainder of a negated draw is never positive: always upwards.
        p.velocity.Y = static_cast<f32>((-random.next()) % 150 - 75);
        p.velocity.Z = static_cast<f32>(random.next() % 20 - 10);
        p.color = PARTICLE_COLOURS[random.next() % 4];
        p.halfSize = static_cast<f32>(random.next() % 16 + 32);
        p.angle = ((random.next() % 360) * 2) * DEMO_PI / 360;
        particles.push_back(p);
    }
}

void Effect1000::updateParticles(float step)
{
    DemoContext* context = DemoContext::instance();
    for (Particle& p : particles)
    {
        const core::rectf destination(p.position.X - p.halfSize, p.position.Y - p.halfSize, p.position.X + p.halfSize,
                                      p.position.Y + p.halfSize);
        context->drawSpriteRotated(particleTexture, destination, 0, 0, 1, 1, p.color, p.angle, 0);

        p.position.X = p.position.X + step * p.velocity.X;
        p.position.Y = p.position.Y + step * p.velocity.Y;
        p.angle = p.angle + step * p.velocity.Z;
        p.velocity.Y = p.velocity.Y + 200 * step; // gravity pulls down the screen
    }
}
