#include "FlashCounter.h"

#include <algorithm>
#include <cmath>

FlashCounter::FlashCounter(float threshold, float darkerBelow, int maxFps)
    : threshold(threshold), darkerBelow(darkerBelow), times(static_cast<std::size_t>(maxFps) + 2)
{
}

void FlashCounter::reset()
{
    trend = Trend::None;
    fallStillBright = false;
    started = false;
    newest = -1;
    stored = 0;
    lastCount = 0.0f;
}

float FlashCounter::linearLight(unsigned char component)
{
    const double c = component / 255.0;
    return static_cast<float>(c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
}

float FlashCounter::redValue(float r, float g, float b)
{
    const float sum = r + g + b;
    if (sum <= 0.0f || r / sum < 0.8f)
        return 0.0f;
    return std::max(0.0f, (r - g - b) * 320.0f);
}

float FlashCounter::add(float seconds, float reading)
{
    if (!started)
    {
        started = true;
        lowest = highest = extreme = reading;
        return lastCount = 0.0f;
    }
    // A turn by the threshold from the extreme the trend reached is a
    // transition between that extreme and this reading; before the first,
    // the series may go either way from its lowest or highest reading.
    bool transition = false;
    float darker = 0.0f;
    lowest = std::min(lowest, reading);
    highest = std::max(highest, reading);
    switch (trend)
    {
    case Trend::None:
        if (reading - lowest >= threshold)
        {
            darker = lowest;
            transition = turn(Trend::Rising, reading);
        }
        else if (highest - reading >= threshold)
        {
            darker = reading;
            transition = turn(Trend::Falling, reading);
        }
        break;
    case Trend::Rising:
        if (reading > extreme)
            extreme = reading;
        else if (extreme - reading >= threshold)
        {
            darker = reading;
            transition = turn(Trend::Falling, reading);
        }
        break;
    case Trend::Falling:
        if (reading < extreme)
        {
            extreme = reading;
            // A fall's darker end is where it ends, not where it first passed
            // the threshold: a fade from white counts once it is dark enough.
            if (fallStillBright && reading < darkerBelow)
            {
                fallStillBright = false;
                darker = reading;
                transition = true;
            }
        }
        else if (reading - extreme >= threshold)
        {
            darker = extreme;
            transition = turn(Trend::Rising, reading);
        }
        break;
    }
    if (transition && trend == Trend::Falling && darker >= darkerBelow)
        fallStillBright = true;
    else if (transition && darker < darkerBelow)
    {
        newest = (newest + 1) % static_cast<int>(times.size());
        times[static_cast<std::size_t>(newest)] = seconds;
        stored = std::min(stored + 1, static_cast<int>(times.size()));
    }
    return lastCount = countWithinSecondBefore(seconds);
}

bool FlashCounter::turn(Trend to, float reading)
{
    trend = to;
    fallStillBright = false;
    extreme = reading;
    return true;
}

float FlashCounter::countWithinSecondBefore(float seconds) const
{
    // A transition a whole second back (a frame's rounding aside) lies
    // outside the second that ends now.
    constexpr float ROUNDING = 1e-4f;
    int count = 0;
    for (int i = 0; i < stored; ++i)
    {
        const int at = (newest - i + static_cast<int>(times.size())) % static_cast<int>(times.size());
        if (seconds - times[static_cast<std::size_t>(at)] >= 1.0f - ROUNDING)
            break;
        ++count;
    }
    return count / 2.0f;
}
