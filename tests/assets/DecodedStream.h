#pragma once

#include <string>
#include <vector>

// A whole Ogg Vorbis file decoded to floats (through libvorbisfile, the
// reference decoder), one vector per channel.
struct DecodedStream
{
    long rate = 0;
    std::vector<std::vector<float>> channels;

    static DecodedStream load(const std::string& path);
    size_t frames() const { return channels.empty() ? 0 : channels[0].size(); }
    double seconds() const { return rate ? double(frames()) / double(rate) : 0.0; }
};
