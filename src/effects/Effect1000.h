#pragma once

#include "demo/Effect.h"
#include "effects/LinearCongruentialGenerator.h"

#include <irrlicht.h>

#include <vector>

// The opening: colour bands blinking to a five-beat pattern, a scrolling grid
// of pulsing sprites that fades in row by row, then the title and a burst of
// spinning stars under gravity.
class Effect1000 : public Effect
{
public:
    struct Particle
    {
        irr::core::vector3df position; // centre on screen; z unused
        irr::core::vector3df velocity; // screen units per particle time unit; z: spin in radians
        irr::f32 halfSize;
        irr::f32 angle;
        irr::video::SColor color;
    };

    static constexpr int PARTICLE_COUNT = 150;

    Effect1000();

    void init() override;
    void update(float dt) override;
    void shutdown() override;
    // The burst is gone and the next one is the same as the first.
    void restart() override;

    irr::f32 getFlash() const { return flash; }
    irr::s32 getLastTrigger() const { return lastTrigger; }
    const std::vector<Particle>& getParticles() const { return particles; }

private:
    // Whether a trigger's window holds the local time this frame.
    bool scanTriggers(float lt);
    void drawBands(irr::video::IVideoDriver* driver, float lt) const;
    void drawGrid(irr::video::IVideoDriver* driver, float lt, int scroll) const;
    void spawnParticles();
    void updateParticles(float step);

    irr::video::ITexture* tileTexture = nullptr;
    irr::video::ITexture* logoTexture = nullptr;
    irr::video::ITexture* particleTexture = nullptr;
    irr::f32 flash = 0.0f;
    irr::s32 lastTrigger = -1;
    std::vector<Particle> particles;
    LinearCongruentialGenerator random;
};
