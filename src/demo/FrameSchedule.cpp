#include "demo/FrameSchedule.h"

#include "demo/EffectDirector.h"

#include <algorithm>

FrameSchedule::FrameSchedule(int fps) : framesPerSecond(fps)
{
    clocks.push_back(0.0f);
}

irr::u32 FrameSchedule::timerMs(int frame) const
{
    const unsigned long long elapsed = static_cast<unsigned long long>(frame) * 1000ull / framesPerSecond;
    return FIRST_TIMER_MS + static_cast<irr::u32>(elapsed);
}

void FrameSchedule::extendTo(int frame)
{
    while (static_cast<int>(clocks.size()) <= frame)
    {
        const int i = static_cast<int>(clocks.size());
        // The director's step: an exact unsigned difference of timer readings,
        // divided by 1000 in double, stored as a float, added to a float.
        const float dt = static_cast<float>(static_cast<double>(timerMs(i) - timerMs(i - 1)) / 1000.0);
        clocks.push_back(clocks.back() + dt);
    }
}

float FrameSchedule::clockAt(int frame)
{
    extendTo(frame);
    return clocks[static_cast<std::size_t>(frame)];
}

int FrameSchedule::timelineFrames()
{
    if (timelineFrameCount < 0)
    {
        int frame = 0;
        while (EffectDirector::effectAt(clockAt(frame)) != 0)
            ++frame;
        timelineFrameCount = frame;
    }
    return timelineFrameCount;
}

int FrameSchedule::firstFrameAtOrAfter(float seconds, int frameLimit)
{
    if (frameLimit <= 0)
        return -1;
    extendTo(frameLimit - 1);
    // The clock never goes back, so the frames are sorted by their clocks.
    const auto end = clocks.begin() + frameLimit;
    const auto found = std::lower_bound(clocks.begin(), end, seconds);
    return found == end ? -1 : static_cast<int>(found - clocks.begin());
}

int FrameSchedule::lastFrameAtOrBefore(float seconds, int frameLimit)
{
    if (frameLimit <= 0)
        return -1;
    extendTo(frameLimit - 1);
    const auto end = clocks.begin() + frameLimit;
    return static_cast<int>(std::upper_bound(clocks.begin(), end, seconds) - clocks.begin()) - 1;
}
