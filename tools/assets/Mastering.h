#pragma once

#include "Synth.h"

namespace synth
{

// The absolute gate of the loudness measure: nothing quieter counts.
constexpr double SILENCE_LUFS = -70.0;

// Integrated loudness in LUFS (ITU-R BS.1770 as EBU R128 uses it: K-weighting,
// 400 ms blocks, absolute and relative gates) of a stereo signal at RATE,
// measured by libebur128. Silence reads as SILENCE_LUFS.
double integratedLoudness(const Stereo& sound);

// Scales the loop to the target loudness and holds every sample below the
// ceiling with a look-ahead limiter that treats the signal as a loop.
void master(Stereo& sound, double targetLufs, float ceiling);

} // namespace synth
