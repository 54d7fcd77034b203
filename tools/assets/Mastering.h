#pragma once

#include "Synth.h"

namespace synth
{

// Integrated loudness in LUFS (ITU-R BS.1770: K-weighting, 400 ms blocks,
// absolute and relative gates) of a stereo signal at RATE.
double integratedLoudness(const Stereo& sound);

// Highest absolute sample value of either channel.
float samplePeak(const Stereo& sound);

// Scales the loop to the target loudness and holds every sample below the
// ceiling with a look-ahead limiter that treats the signal as a loop.
void master(Stereo& sound, double targetLufs, float ceiling);

} // namespace synth
