#include "demo/DemoContext.h"

namespace
{
DemoContext* current = nullptr;
}

DemoContext::DemoContext(irr::IrrlichtDevice* device, AudioOutput output)
    : device(device), driver(nullptr), sceneManager(nullptr), audioSystem(nullptr), music(nullptr),
      musicChannel(nullptr), demoTime(0.0f)
{
    driver = device->getVideoDriver();
    sceneManager = device->getSceneManager();
    current = this;
    audioSystem = audio::System::create();
    if (output == WithSound)
        audioSystem->init(1);
}

DemoContext::~DemoContext()
{
    // The entry point stops the music first; a context dropped without that
    // (a test, an early error path) must not leave the audio device open.
    if (audioSystem)
        stopMusic();
    current = nullptr;
}

DemoContext* DemoContext::instance()
{
    return current;
}

void DemoContext::addTime(float seconds)
{
    demoTime = demoTime + seconds;
}

void DemoContext::playMusic(const char* path)
{
    music = audioSystem->createStream(path, audio::LOOP_NORMAL | audio::MODE_2D | audio::HARDWARE);
    musicChannel = audioSystem->playSound(music, false);
}

void DemoContext::stopMusic()
{
    if (music)
        music->release();
    music = nullptr;
    musicChannel = nullptr;
    if (audioSystem)
    {
        audioSystem->close();
        audioSystem->release();
    }
    audioSystem = nullptr;
}

float DemoContext::musicPosition() const
{
    const unsigned ms = musicChannel ? musicChannel->getPositionMs() : 0u;
    return static_cast<float>(ms) / 1000.0f;
}
