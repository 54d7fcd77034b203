#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Small, deterministic sound synthesis: every instrument renders one note
// into a buffer of its own, which the score mixes into a looping bus.
namespace synth
{

constexpr int RATE = 44100;

double noteHz(int midiNote);

struct Stereo
{
    std::vector<float> left, right;

    Stereo() = default;
    explicit Stereo(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
};

// A stereo buffer of a fixed length that wraps around: whatever is added past
// its end continues at its start, so a note ringing over the loop's end is
// heard at its beginning and the loop joins without a click.
class LoopBus
{
public:
    explicit LoopBus(size_t frames) : mix(frames) {}
    void add(double seconds, const std::vector<float>& mono, float gain, float pan);
    void add(double seconds, const Stereo& sound, float gain);
    Stereo& sound() { return mix; }
    const Stereo& sound() const { return mix; }

private:
    Stereo mix;
};

// White noise from a fixed seed.
class Noise
{
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    float next();

private:
    std::uint32_t state;
};

// A state-variable filter (Chamberlin form, two passes per sample for stability).
class Filter
{
public:
    void set(double cutoffHz, double resonance);
    float lowPass(float in);
    float bandPass() const { return band; }
    float highPass() const { return high; }

private:
    float f = 0.1f, q = 1.0f, low = 0, band = 0, high = 0;
};

// Instruments. Lengths are in seconds; every note fades out by its end.
// A kick drum; it is cut short (choked) when the next one follows sooner than it dies away.
std::vector<float> kick(float weight, double maxLength);
std::vector<float> snare(Noise& noise);
std::vector<float> hat(Noise& noise, bool open);
std::vector<float> bass(int midiNote, double length);
Stereo pad(const std::vector<int>& chord, double length);
std::vector<float> pluck(int midiNote, double length, float brightness);
std::vector<float> lead(int midiNote, double length);
std::vector<float> bell(int midiNote, double length);

// Send effects, run over a looping buffer so that their tails wrap around too.
void addPingPongDelay(const Stereo& in, Stereo& out, size_t delayFrames, float feedback, float level);
void addReverb(const Stereo& in, Stereo& out, float level);

} // namespace synth
