#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace synth
{

namespace
{
constexpr double TAU = 6.283185307179586;

size_t framesOf(double seconds)
{
    return size_t(std::lround(seconds * RATE));
}

// A band-limited sawtooth (polyBLEP), phase in [0, 1).
float saw(double phase, double increment)
{
    float value = float(2.0 * phase - 1.0);
    if (phase < increment)
    {
        const double t = phase / increment;
        value -= float(t + t - t * t - 1.0);
    }
    else if (phase > 1.0 - increment)
    {
        const double t = (phase - 1.0) / increment;
        value -= float(t * t + t + t + 1.0);
    }
    return value;
}

float square(double phase, double increment)
{
    return 0.5f * (saw(phase, increment) - saw(std::fmod(phase + 0.5, 1.0), increment));
}

// Attack, then hold, then a release that ends exactly at the note's end.
float envelope(size_t i, size_t frames, double attack, double release)
{
    const double t = double(i) / RATE, end = double(frames) / RATE;
    double level = std::min(1.0, t / attack);
    if (t > end - release)
        level *= std::max(0.0, (end - t) / release);
    return float(level);
}
} // namespace

double noteHz(int midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0);
}

void LoopBus::add(double seconds, const std::vector<float>& mono, float gain, float pan)
{
    // Equal-power panning, pan from −1 (left) to 1 (right).
    const float angle = float((pan + 1.0) * TAU / 8);
    const float l = gain * std::cos(angle), r = gain * std::sin(angle);
    const size_t n = mix.frames();
    size_t at = framesOf(seconds) % n;
    for (float sample : mono)
    {
        mix.left[at] += sample * l;
        mix.right[at] += sample * r;
        at = at + 1 == n ? 0 : at + 1;
    }
}

void LoopBus::add(double seconds, const Stereo& sound, float gain)
{
    const size_t n = mix.frames();
    size_t at = framesOf(seconds) % n;
    for (size_t i = 0; i < sound.frames(); ++i)
    {
        mix.left[at] += sound.left[i] * gain;
        mix.right[at] += sound.right[i] * gain;
        at = at + 1 == n ? 0 : at + 1;
    }
}

float Noise::next()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return float(state) / 2147483648.0f - 1.0f;
}

void Filter::set(double cutoffHz, double resonance)
{
    f = float(2.0 * std::sin(TAU / 2 * std::min(cutoffHz, RATE / 6.0) / (2.0 * RATE)));
    q = float(1.0 / resonance);
}

float Filter::lowPass(float in)
{
    for (int pass = 0; pass < 2; ++pass)
    {
        low += f * band;
        high = in - low - q * band;
        band += f * high;
    }
    return low;
}

std::vector<float> kick(float weight, double maxLength)
{
    // A falling sine with a short click at its start.
    const size_t frames = framesOf(std::min(0.45, maxLength));
    // A kick that is followed closely dies away faster, so that the next one stands out.
    const double decay = std::min(0.16 * weight, maxLength / 4);
    std::vector<float> out(frames);
    double phase = 0;
    Noise noise(7);
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        const double hz = 46.0 + 120.0 * std::exp(-t / 0.028);
        phase += hz / RATE;
        const double body = std::sin(TAU * phase) * std::exp(-t / decay) * std::min(1.0, t / 0.0015);
        const double click = i < framesOf(0.004) ? noise.next() * 0.35 * (1.0 - t / 0.004) : 0.0;
        out[i] = float(body + click) * envelope(i, frames, 1e-4, 0.015);
    }
    return out;
}

std::vector<float> snare(Noise& noise)
{
    const size_t frames = framesOf(0.35);
    std::vector<float> out(frames);
    Filter filter;
    filter.set(2200, 0.9);
    double phase = 0;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        phase += (180.0 + 60.0 * std::exp(-t / 0.02)) / RATE;
        filter.lowPass(noise.next());
        const double rattle = filter.bandPass() * 1.6 * std::exp(-t / 0.09);
        const double tone = std::sin(TAU * phase) * 0.7 * std::exp(-t / 0.05);
        out[i] = float(rattle + tone) * envelope(i, frames, 0.0008, 0.05);
    }
    return out;
}

std::vector<float> hat(Noise& noise, bool open)
{
    const size_t frames = framesOf(open ? 0.3 : 0.08);
    std::vector<float> out(frames);
    float previous = 0, previousOut = 0;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        // A first-difference high pass keeps only the hiss.
        const float in = noise.next();
        const float high = 0.6f * (previousOut + in - previous);
        previous = in;
        previousOut = high;
        out[i] = high * float(std::exp(-t / (open ? 0.09 : 0.018))) * envelope(i, frames, 0.0005, 0.02);
    }
    return out;
}

std::vector<float> bass(int midiNote, double length)
{
    const size_t frames = framesOf(length);
    std::vector<float> out(frames);
    const double hz = noteHz(midiNote);
    double a = 0, b = 0.37, sub = 0;
    Filter filter;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        filter.set(220.0 + 1100.0 * std::exp(-t / 0.09), 1.4);
        a = std::fmod(a + hz * 1.004 / RATE, 1.0);
        b = std::fmod(b + hz * 0.996 / RATE, 1.0);
        // The sine doubles the fundamental; an octave lower it would beat against the kick.
        sub = std::fmod(sub + hz / RATE, 1.0);
        const float raw = 0.5f * (saw(a, hz / RATE) + saw(b, hz / RATE));
        out[i] = (filter.lowPass(raw) + 0.5f * float(std::sin(TAU * sub))) * envelope(i, frames, 0.002, 0.03);
    }
    return out;
}

Stereo pad(const std::vector<int>& chord, double length)
{
    // Three slightly detuned saws per note and side, softly filtered.
    const size_t frames = framesOf(length);
    Stereo out(frames);
    const double detune[2][3] = {{-0.011, 0.0, 0.007}, {-0.006, 0.0015, 0.012}};
    for (int side = 0; side < 2; ++side)
    {
        std::vector<float>& channel = side ? out.right : out.left;
        for (size_t n = 0; n < chord.size(); ++n)
        {
            const double hz = noteHz(chord[n]);
            double phases[3] = {0.1 * n, 0.33 + 0.2 * side, 0.71};
            Filter filter;
            filter.set(1500, 0.8);
            for (size_t i = 0; i < frames; ++i)
            {
                float sum = 0;
                for (int k = 0; k < 3; ++k)
                {
                    const double increment = hz * (1.0 + detune[side][k]) / RATE;
                    phases[k] = std::fmod(phases[k] + increment, 1.0);
                    sum += saw(phases[k], increment);
                }
                channel[i] += filter.lowPass(sum / 3) * envelope(i, frames, 0.35, 0.6);
            }
        }
    }
    return out;
}

std::vector<float> pluck(int midiNote, double length, float brightness)
{
    const size_t frames = framesOf(length);
    std::vector<float> out(frames);
    const double hz = noteHz(midiNote);
    double phase = 0;
    Filter filter;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        filter.set(400.0 + brightness * 3500.0 * std::exp(-t / 0.07), 1.2);
        phase = std::fmod(phase + hz / RATE, 1.0);
        out[i] = filter.lowPass(square(phase, hz / RATE)) * float(std::exp(-t / 0.16)) *
                 envelope(i, frames, 0.002, 0.03);
    }
    return out;
}

std::vector<float> lead(int midiNote, double length)
{
    const double release = 0.12;
    const size_t frames = framesOf(length + release);
    std::vector<float> out(frames);
    const double hz = noteHz(midiNote);
    double a = 0, b = 0.5;
    Filter filter;
    filter.set(2800, 1.1);
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        // Vibrato that sets in after a quarter of a second.
        const double vibrato = 1.0 + 0.004 * std::sin(TAU * 5.5 * t) * std::min(1.0, std::max(0.0, t - 0.25) / 0.3);
        const double increment = hz * vibrato / RATE;
        a = std::fmod(a + increment, 1.0);
        b = std::fmod(b + increment * 1.003, 1.0);
        const float raw = 0.6f * saw(a, increment) + 0.4f * square(b, increment);
        out[i] = filter.lowPass(raw) * envelope(i, frames, 0.012, release) * float(0.8 + 0.2 * std::exp(-t / 0.2));
    }
    return out;
}

std::vector<float> bell(int midiNote, double length)
{
    // Two-operator FM with a falling index: a bright strike that mellows.
    const size_t frames = framesOf(length);
    std::vector<float> out(frames);
    const double hz = noteHz(midiNote);
    double carrier = 0, modulator = 0;
    for (size_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / RATE;
        modulator += 3.0 * hz / RATE;
        const double index = 2.2 * std::exp(-t / 0.12);
        carrier += hz / RATE;
        out[i] = float(std::sin(TAU * carrier + index * std::sin(TAU * modulator)) * std::exp(-t / 0.35)) *
                 envelope(i, frames, 0.001, 0.05);
    }
    return out;
}

void addPingPongDelay(const Stereo& in, Stereo& out, size_t delayFrames, float feedback, float level)
{
    // Two trips round the loop: the second starts with the first one's echoes.
    const size_t n = in.frames();
    std::vector<float> lineL(delayFrames, 0.0f), lineR(delayFrames, 0.0f);
    size_t at = 0;
    for (int trip = 0; trip < 2; ++trip)
        for (size_t i = 0; i < n; ++i)
        {
            const float echoL = lineL[at], echoR = lineR[at];
            lineL[at] = in.left[i] * 0.5f + in.right[i] * 0.5f + echoR * feedback;
            lineR[at] = echoL * feedback;
            at = at + 1 == delayFrames ? 0 : at + 1;
            if (trip == 1)
            {
                out.left[i] += echoL * level;
                out.right[i] += echoR * level;
            }
        }
}

namespace
{
class Comb
{
public:
    explicit Comb(size_t size) : line(size, 0.0f) {}
    float process(float in, float feedback, float damping)
    {
        const float out = line[at];
        store = out * (1 - damping) + store * damping;
        line[at] = in + store * feedback;
        at = at + 1 == line.size() ? 0 : at + 1;
        return out;
    }

private:
    std::vector<float> line;
    size_t at = 0;
    float store = 0;
};

class AllPass
{
public:
    explicit AllPass(size_t size) : line(size, 0.0f) {}
    float process(float in)
    {
        const float delayed = line[at];
        line[at] = in + delayed * 0.5f;
        at = at + 1 == line.size() ? 0 : at + 1;
        return delayed - in;
    }

private:
    std::vector<float> line;
    size_t at = 0;
};
} // namespace

void addReverb(const Stereo& in, Stereo& out, float level)
{
    // A small Schroeder-Moorer room: parallel damped combs, then all-passes.
    const size_t combSizes[4] = {1116, 1188, 1277, 1356}, allPassSizes[2] = {556, 441};
    const size_t spread = 23;
    std::vector<Comb> combsL, combsR;
    std::vector<AllPass> allPassL, allPassR;
    for (size_t s : combSizes)
    {
        combsL.emplace_back(s);
        combsR.emplace_back(s + spread);
    }
    for (size_t s : allPassSizes)
    {
        allPassL.emplace_back(s);
        allPassR.emplace_back(s + spread);
    }
    const size_t n = in.frames();
    for (int trip = 0; trip < 2; ++trip)
        for (size_t i = 0; i < n; ++i)
        {
            const float input = (in.left[i] + in.right[i]) * 0.5f;
            float l = 0, r = 0;
            for (size_t c = 0; c < 4; ++c)
            {
                l += combsL[c].process(input, 0.84f, 0.25f);
                r += combsR[c].process(input, 0.84f, 0.25f);
            }
            for (size_t a = 0; a < 2; ++a)
            {
                l = allPassL[a].process(l);
                r = allPassR[a].process(r);
            }
            if (trip == 1)
            {
                out.left[i] += l * level;
                out.right[i] += r * level;
            }
        }
}

} // namespace synth
