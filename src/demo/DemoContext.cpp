#include "demo/DemoContext.h"

#include "display/StateOnlyDriver.h"

namespace
{
DemoContext* current = nullptr;

unsigned millisecondsOf(float seconds)
{
    return seconds > 0.0f ? static_cast<unsigned>(static_cast<double>(seconds) * 1000.0 + 0.5) : 0u;
}
} // namespace

DemoContext::DemoContext(irr::IrrlichtDevice* device, AudioOutput output, irr::video::IVideoDriver* drawWith)
    : device(device), driver(nullptr), currentDriver(nullptr), sceneManager(nullptr), audioSystem(nullptr),
      music(nullptr), musicChannel(nullptr), demoTime(0.0f)
{
    driver = drawWith ? drawWith : device->getVideoDriver();
    stateOnlyDriver = std::make_unique<StateOnlyDriver>(driver);
    currentDriver = driver;
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

void DemoContext::setDrawing(bool on)
{
    currentDriver = on ? driver : stateOnlyDriver.get();
}

void DemoContext::addTime(float seconds)
{
    demoTime = demoTime + seconds;
}

void DemoContext::playMusic(const char* path, float fromSeconds)
{
    music = audioSystem->createStream(path, audio::LOOP_NORMAL | audio::MODE_2D | audio::HARDWARE);
    musicChannel = audioSystem->playSound(music, false, millisecondsOf(fromSeconds));
}

void DemoContext::seekMusic(float seconds)
{
    if (musicChannel)
        musicChannel->setPositionMs(millisecondsOf(seconds));
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
