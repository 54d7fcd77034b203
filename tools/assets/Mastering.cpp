#include "Mastering.h"

#include <algorithm>
#include <cmath>

namespace synth
{

namespace
{

struct Biquad
{
    double b0, b1, b2, a1, a2;
    double x1 = 0, x2 = 0, y1 = 0, y2 = 0;

    double process(double x)
    {
        const double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        return y;
    }
};

// The two K-weighting stages, their coefficients derived for the sample rate.
std::vector<double> kWeightedSquares(const std::vector<float>& channel)
{
    const double pi = 3.141592653589793;
    double k = std::tan(pi * 1681.974450955533 / RATE);
    const double q1 = 0.7071752369554196, vh = std::pow(10.0, 3.999843853973347 / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    double a0 = 1.0 + k / q1 + k * k;
    Biquad shelf{(vh + vb * k / q1 + k * k) / a0, 2.0 * (k * k - vh) / a0, (vh - vb * k / q1 + k * k) / a0,
                 2.0 * (k * k - 1.0) / a0, (1.0 - k / q1 + k * k) / a0};
    k = std::tan(pi * 38.13547087602444 / RATE);
    const double q2 = 0.5003270373238773;
    a0 = 1.0 + k / q2 + k * k;
    Biquad highPass{1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q2 + k * k) / a0};
    std::vector<double> squares(channel.size());
    for (size_t i = 0; i < channel.size(); ++i)
    {
        const double y = highPass.process(shelf.process(channel[i]));
        squares[i] = y * y;
    }
    return squares;
}

} // namespace

double integratedLoudness(const Stereo& sound)
{
    const std::vector<double> left = kWeightedSquares(sound.left), right = kWeightedSquares(sound.right);
    const size_t block = size_t(0.4 * RATE), hop = size_t(0.1 * RATE);
    std::vector<double> blockPower;
    for (size_t start = 0; start + block <= left.size(); start += hop)
    {
        double sum = 0;
        for (size_t i = start; i < start + block; ++i)
            sum += left[i] + right[i];
        blockPower.push_back(sum / double(block));
    }
    auto loudness = [](double power) { return -0.691 + 10.0 * std::log10(power); };
    auto gatedMean = [&](double gate) {
        double sum = 0;
        size_t count = 0;
        for (double p : blockPower)
            if (p > 0 && loudness(p) > gate)
            {
                sum += p;
                ++count;
            }
        return count ? sum / double(count) : 0.0;
    };
    const double absolute = gatedMean(-70.0);
    if (absolute <= 0)
        return -70.0;
    return loudness(gatedMean(loudness(absolute) - 10.0));
}

float samplePeak(const Stereo& sound)
{
    float peak = 0;
    for (size_t i = 0; i < sound.frames(); ++i)
        peak = std::max({peak, std::fabs(sound.left[i]), std::fabs(sound.right[i])});
    return peak;
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
