#include "LowBandOnsets.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

std::vector<double> lowBandOnsets(const std::vector<float>& signal, long rate, bool loops)
{
    const long n = static_cast<long>(signal.size());
    if (n == 0)
        return {};
    // Index i of a sequence of length `size`: round the loop, or nothing outside it.
    auto inside = [loops](long i, long size) { return loops ? ((i % size) + size) % size : (i >= 0 && i < size ? i : -1); };

    // Two one-pole low passes at about 150 Hz, run over the 0.1 s before the start first.
    const long lead = rate / 10;
    const float a = 1.0f - std::exp(-2.0f * 3.14159265f * 150.0f / float(rate));
    std::vector<double> squares(static_cast<std::size_t>(n));
    float s1 = 0, s2 = 0;
    for (long i = -lead; i < n; ++i)
    {
        const long at = inside(i, n);
        s1 += a * ((at < 0 ? 0.0f : signal[static_cast<std::size_t>(at)]) - s1);
        s2 += a * (s1 - s2);
        if (i >= 0)
            squares[static_cast<std::size_t>(i)] = double(s2) * s2;
    }
    // Energy of the 25 ms starting at each millisecond.
    const long hop = rate / 1000, window = 25 * hop, steps = n / hop;
    std::vector<double> energy(static_cast<std::size_t>(steps));
    for (long k = 0; k < steps; ++k)
        for (long i = 0; i < window; ++i)
        {
            const long at = inside(k * hop + i, n);
            energy[static_cast<std::size_t>(k)] += at < 0 ? 0.0 : squares[static_cast<std::size_t>(at)];
        }
    const double loudest = *std::max_element(energy.begin(), energy.end());
    std::vector<double> rise(static_cast<std::size_t>(steps));
    for (long k = 0; k < steps; ++k)
    {
        const long at = inside(k - 25, steps);
        const double before = at < 0 ? 0.0 : energy[static_cast<std::size_t>(at)];
        const double now = energy[static_cast<std::size_t>(k)];
        rise[static_cast<std::size_t>(k)] = now > 0.02 * loudest ? now / (before + 1e-9 * loudest) : 0.0;
    }
    auto riseAt = [&](long k) {
        const long at = inside(k, steps);
        return at < 0 ? 0.0 : rise[static_cast<std::size_t>(at)];
    };
    std::vector<double> onsets;
    for (long k = 0; k < steps; ++k)
    {
        if (riseAt(k) < 4.0)
            continue;
        bool strongest = true;
        for (long d = 1; d <= 30 && strongest; ++d)
            strongest = riseAt(k) >= riseAt(k + d) && riseAt(k) > riseAt(k - d);
        if (strongest)
            onsets.push_back(double(k * hop) / double(rate));
    }
    return onsets;
}
