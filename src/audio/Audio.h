#pragma once

#include <string>

struct _Mix_Music;

// A small stand-in for the streaming audio library the demo was written
// against: one system object, one streamed sound, one channel. It is built on
// SDL2_mixer. When no audio device can be opened (a headless machine) or the
// stream is missing or damaged, every call still succeeds and the demo runs
// silently, saying why on stderr (but not for a missing stream, like every
// missing asset).
namespace audio
{

// Mode bits, as the demo passes them to createStream.
enum Mode : unsigned
{
    LOOP_NORMAL = 0x2,
    MODE_2D = 0x8,
    HARDWARE = 0x20,
};

class Sound
{
public:
    void release();

private:
    friend class System;
    Sound(_Mix_Music* stream, bool loop) : stream(stream), loop(loop) {}
    ~Sound() = default;

    _Mix_Music* stream;
    bool loop;
};

class Channel
{
public:
    // Position of the playing stream in milliseconds (0 when silent).
    unsigned getPositionMs() const;
    // Moves the playing stream to this position.
    void setPositionMs(unsigned ms);

private:
    friend class System;
    explicit Channel(_Mix_Music* stream) : stream(stream) {}

    _Mix_Music* stream;
};

class System
{
public:
    static System* create();

    // Opens the output device with a short buffer so that picture and sound
    // start together. Returns false (and stays silent) when there is none.
    bool init(int maxChannels);
    bool isOpen() const { return open; }

    // Backslashes in the path are taken as directory separators.
    Sound* createStream(const std::string& path, unsigned mode);
    // Plays the stream from startMs on (its start by default).
    Channel* playSound(Sound* sound, bool paused, unsigned startMs = 0);

    void close();
    void release();

    // Samples per channel per buffer the device is opened with.
    static constexpr int BUFFER_FRAMES = 1024;

private:
    System() = default;
    ~System();

    bool open = false;
    Channel* channel = nullptr;
};

} // namespace audio
