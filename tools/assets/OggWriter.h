#pragma once

#include "Synth.h"

#include <string>

namespace synth
{

// Encodes a stereo signal at RATE as an Ogg Vorbis file. The stream's serial
// number is fixed, so the same signal always gives the same bytes.
bool writeOggVorbis(const Stereo& sound, const std::string& path, float quality);

} // namespace synth
