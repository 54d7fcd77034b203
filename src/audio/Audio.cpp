#include "audio/Audio.h"

#include "platform/Warning.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>
#ifdef __linux__
#include <dlfcn.h>
#endif

#include <algorithm>

namespace
{
[[maybe_unused]] void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card, libasound prints a screenful of configuration errors
// while SDL looks for a device; one line of ours says it instead. The library
// stays loaded, so that SDL's copy of it is this one, with this handler.
void quietenAlsa()
{
#ifdef __linux__
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    static void* alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_GLOBAL);
    if (!alsa)
        return;
    if (auto setHandler = reinterpret_cast<int (*)(ErrorHandler)>(dlsym(alsa, "snd_lib_error_set_handler")))
        setHandler(ignoreAlsaError);
#endif
}
} // namespace

namespace audio
{

void Sound::release()
{
    if (stream)
    {
        Mix_HaltMusic();
        Mix_FreeMusic(stream);
    }
    delete this;
}

unsigned Channel::getPositionMs() const
{
    if (!stream)
        return 0;
    const double seconds = Mix_GetMusicPosition(stream);
    return seconds > 0.0 ? static_cast<unsigned>(seconds * 1000.0) : 0u;
}

void Channel::setPositionMs(unsigned ms)
{
    if (stream)
        Mix_SetMusicPosition(ms / 1000.0);
}

System* System::create()
{
    return new System();
}

System::~System()
{
    close();
    delete channel;
}

bool System::init(int maxChannels)
{
    if (open)
        return true;
    // SDL would otherwise take over SIGINT and SIGTERM and the demo could not be stopped.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    quietenAlsa();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
    {
        warn("no audio output (%s); the demo runs silently", SDL_GetError());
        return false;
    }
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, BUFFER_FRAMES) != 0)
    {
        warn("no audio output (%s); the demo runs silently", Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(maxChannels);
    open = true;
    return true;
}

Sound* System::createStream(const std::string& path, unsigned mode)
{
    Mix_Music* stream = nullptr;
    if (open)
    {
        std::string native = path;
        std::replace(native.begin(), native.end(), '\\', '/');
        stream = Mix_LoadMUS(native.c_str());
        // A missing file goes unmentioned, like every missing asset; one that is there but cannot be played is named.
        if (!stream && access(native.c_str(), F_OK) == 0)
            warn("cannot play %s (%s); the demo runs silently", native.c_str(), Mix_GetError());
    }
    return new Sound(stream, (mode & LOOP_NORMAL) != 0);
}

Channel* System::playSound(Sound* sound, bool paused, unsigned startMs)
{
    Mix_Music* stream = sound ? sound->stream : nullptr;
    // Started at its position in one step, so that not a buffer of the start is heard first.
    if (stream && Mix_FadeInMusicPos(stream, sound->loop ? -1 : 1, 0, startMs / 1000.0) == 0 && paused)
        Mix_PauseMusic();
    delete channel;
    channel = new Channel(stream);
    return channel;
}

void System::close()
{
    if (!open)
        return;
    Mix_HaltMusic();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    open = false;
}

void System::release()
{
    delete this;
}

} // namespace audio
