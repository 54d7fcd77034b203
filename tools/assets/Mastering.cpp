#include "Mastering.h"

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <new>

namespace synth
{

double integratedLoudness(const Stereo& sound)
{
    ebur128_state* meter = ebur128_init(2, RATE, EBUR128_MODE_I);
    if (!meter)
        throw std::bad_alloc();
    // The meter takes interleaved frames; a slice at a time keeps the copy small.
    constexpr size_t SLICE = 4096;
    float interleaved[2 * SLICE];
    for (size_t start = 0; start < sound.frames(); start += SLICE)
    {
        const size_t count = std::min(SLICE, sound.frames() - start);
        for (size_t i = 0; i < count; ++i)
        {
            interleaved[2 * i] = sound.left[start + i];
            interleaved[2 * i + 1] = sound.right[start + i];
        }
        ebur128_add_frames_float(meter, interleaved, count);
    }
    double lufs = -HUGE_VAL;
    ebur128_loudness_global(meter, &lufs);
    ebur128_destroy(&meter);
    // Silence, or a sound too short for one block, reads as the absolute gate.
    return std::isfinite(lufs) ? std::max(lufs, SILENCE_LUFS) : SILENCE_LUFS;
}

namespace
{

void limit(Stereo& sound, float ceiling)
{
    const size_t n = sound.frames();
    std::vector<float> gain(n);
    for (size_t i = 0; i < n; ++i)
    {
        const float level = std::max(std::fabs(sound.left[i]), std::fabs(sound.right[i]));
        gain[i] = level > ceiling ? ceiling / level : 1.0f;
    }
    // Release forwards (about 80 ms), attack backwards (about 2 ms): the gain
    // eases down before a peak and recovers after it, never above what the
    // peak allows. Two trips round the loop make the curve itself a loop.
    const float release = 1.0f - std::exp(-1.0f / (0.08f * RATE));
    const float attack = 1.0f - std::exp(-1.0f / (0.002f * RATE));
    float g = 1.0f;
    for (int trip = 0; trip < 2; ++trip)
        for (size_t i = 0; i < n; ++i)
        {
            g = std::min(gain[i], g + (1.0f - g) * release);
            gain[i] = g;
        }
    for (int trip = 0; trip < 2; ++trip)
        for (size_t i = n; i-- > 0;)
        {
            g = std::min(gain[i], g + (1.0f - g) * attack);
            gain[i] = g;
        }
    for (size_t i = 0; i < n; ++i)
    {
        sound.left[i] *= gain[i];
        sound.right[i] *= gain[i];
    }
}

void scale(Stereo& sound, double decibels)
{
    const float factor = float(std::pow(10.0, decibels / 20.0));
    for (size_t i = 0; i < sound.frames(); ++i)
    {
        sound.left[i] *= factor;
        sound.right[i] *= factor;
    }
}

} // namespace

void master(Stereo& sound, double targetLufs, float ceiling)
{
    // The limiter takes a little loudness away; a few rounds settle it.
    const Stereo dry = sound;
    double gain = targetLufs - integratedLoudness(dry);
    for (int round = 0; round < 4; ++round)
    {
        sound = dry;
        scale(sound, gain);
        limit(sound, ceiling);
        const double error = targetLufs - integratedLoudness(sound);
        if (std::fabs(error) < 0.05)
            break;
        gain += error;
    }
}

} // namespace synth
