#include "LowBandOnsets.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

std::vector<double> lowBandOnsets(const std::vector<float>& signal, long rate)
{
    const size_t n = signal.size(), lead = size_t(rate / 10);
    // Two one-pole low passes at about 150 Hz, run over the loop's end first.
    const float a = 1.0f - std::exp(-2.0f * 3.14159265f * 150.0f / float(rate));
    std::vector<double> squares(n);
    float s1 = 0, s2 = 0;
    for (size_t i = 0; i < lead + n; ++i)
    {
        s1 += a * (signal[(i + n - lead) % n] - s1);
        s2 += a * (s1 - s2);
        if (i >= lead)
            squares[i - lead] = double(s2) * s2;
    }
    // Energy of the 25 ms starting at each millisecond, round the loop.
    const size_t hop = size_t(rate / 1000), window = 25 * hop, steps = n / hop;
    std::vector<double> energy(steps);
    for (size_t k = 0; k < steps; ++k)
        for (size_t i = 0; i < window; ++i)
            energy[k] += squares[(k * hop + i) % n];
    const double loudest = *std::max_element(energy.begin(), energy.end());
    std::vector<double> rise(steps);
    for (size_t k = 0; k < steps; ++k)
    {
        const double before = energy[(k + steps - 25) % steps];
        rise[k] = energy[k] > 0.02 * loudest ? energy[k] / (before + 1e-9 * loudest) : 0.0;
    }
    std::vector<double> onsets;
    for (size_t k = 0; k < steps; ++k)
    {
        if (rise[k] < 4.0)
            continue;
        bool strongest = true;
        for (size_t d = 1; d <= 30 && strongest; ++d)
            strongest = rise[k] >= rise[(k + d) % steps] && rise[k] > rise[(k + steps - d) % steps];
        if (strongest)
            onsets.push_back(double(k * hop) / double(rate));
    }
    return onsets;
}
