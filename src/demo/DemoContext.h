#pragma once

#include <irrlicht.h>

#include "audio/Audio.h"

#include <memory>

class MaterialOverride;
class StateOnlyDriver;

// The one process-wide object through which the demo reaches the engine, the
// music and the demo clock, and which offers the shared drawing operations.
class DemoContext
{
public:
    // Silent opens no audio device: the music calls still work and play nothing.
    enum AudioOutput
    {
        WithSound,
        Silent,
    };
    // Effects draw with drawWith when given (the screen scaler's), else with the device's driver.
    explicit DemoContext(irr::IrrlichtDevice* device, AudioOutput output = WithSound,
                         irr::video::IVideoDriver* drawWith = nullptr);
    ~DemoContext();

    DemoContext(const DemoContext&) = delete;
    DemoContext& operator=(const DemoContext&) = delete;

    // The current context, or null when none exists.
    static DemoContext* instance();

    irr::IrrlichtDevice* getDevice() const { return device; }
    // The driver to draw with; effects ask for it on every frame.
    irr::video::IVideoDriver* getDriver() const { return currentDriver; }
    irr::scene::ISceneManager* getSceneManager() const { return sceneManager; }

    // With drawing off, getDriver hands out a driver that passes every state
    // and resource call on to the device's driver and drops everything that
    // draws (StateOnlyDriver): frames ticked meanwhile move every clock and
    // every effect's state as drawn frames do, but draw nothing.
    void setDrawing(bool on);
    bool isDrawing() const { return currentDriver == driver; }

    // Gentle mode: the effects that flash keep every large-area swing of
    // brightness within three flashes a second (each says how).
    void setGentle(bool on) { gentle = on; }
    bool isGentle() const { return gentle; }

    float getDemoTime() const { return demoTime; }
    void addTime(float seconds);
    // Back to demo time 0, for a timeline that starts again.
    void resetClock() { demoTime = 0.0f; }

    // Creates the stream and plays it from this many seconds on.
    void playMusic(const char* path, float fromSeconds = 0.0f);
    // Moves the playing music to this many seconds from its start.
    void seekMusic(float seconds);
    void stopMusic();
    float musicPosition() const;

    // Mesh drawing: every buffer of the mesh, each with its own material or
    // with the one the override chooses.
    void drawMesh(irr::scene::IMesh* mesh, MaterialOverride* materialOverride);
    void drawMeshAt(irr::scene::IMesh* mesh, const irr::core::matrix4& world, MaterialOverride* materialOverride);

    // Screen-space sprites in the 640 x 480 virtual screen (y down). Flag
    // bit 0 selects additive blending instead of the texture's alpha; bit 1
    // turns bilinear filtering off (drawSprite only).
    enum SpriteFlags
    {
        SPRITE_ADDITIVE = 1,
        SPRITE_NO_FILTER = 2,
    };
    void drawSprite(irr::video::ITexture* texture, irr::f32 x1, irr::f32 y1, irr::f32 x2, irr::f32 y2, irr::f32 tu1,
                    irr::f32 tv1, irr::f32 tu2, irr::f32 tv2, const irr::video::SColor& colour, irr::s32 flags);
    // The quad of `destination` turned about its centre by `angle` radians,
    // clockwise on the screen (from +x towards +y, which points down); at 0
    // it draws what drawSprite draws with the destination's corners.
    void drawSpriteRotated(irr::video::ITexture* texture, irr::core::rect<irr::f32> destination, irr::f32 tu1,
                           irr::f32 tv1, irr::f32 tu2, irr::f32 tv2, const irr::video::SColor& colour, irr::f32 angle,
                           irr::s32 flags);

private:
    irr::IrrlichtDevice* device;
    irr::video::IVideoDriver* driver;
    std::unique_ptr<StateOnlyDriver> stateOnlyDriver;
    irr::video::IVideoDriver* currentDriver; // driver, or stateOnlyDriver while drawing is off
    irr::scene::ISceneManager* sceneManager;
    audio::System* audioSystem;
    audio::Sound* music;
    audio::Channel* musicChannel;
    float demoTime;
    bool gentle = false;
};
