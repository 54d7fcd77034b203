#pragma once

#include "Synth.h"

// The demo's soundtrack: 28 bars of 2.526 s in A minor, seven sections of
// four bars that match the demo's sections, every bar's drums on the opening
// section's trigger pattern, a closing phrase in the last four bars, and an
// end that flows back into the start.
namespace soundtrack
{

constexpr double BAR = 2.526;
constexpr int BARS = 28;
constexpr int BARS_PER_SECTION = 4;
constexpr double LENGTH = BAR * BARS; // 70.728 s
// Drum hits, seconds into each bar.
constexpr double HITS[5] = {0.0, 0.635, 1.1, 1.26, 1.89};

constexpr double LOUDNESS_LUFS = -14.0;
// Sample peak before encoding; the encoder's ripple stays well under 1 dB.
constexpr float PEAK_CEILING = 0.78f; // about −2.2 dBFS

synth::Stereo compose();

} // namespace soundtrack
