#pragma once

#include <irrlicht.h>

#include <vector>

// When each frame of a capture, or of a demo started part-way through,
// happens. The engine timer is stopped; before
// tick i (i = 0, 1, 2, ...) it is set to 1000 + floor(i * 1000 / fps) ms.
// Every tick then runs as in the demo, so the demo clock after tick i is the
// sum, in the director's own float arithmetic, of the timer steps before it
// (the first tick adds nothing). The schedule works those clocks out ahead,
// which tells a command which frames to draw before it opens a window.
class FrameSchedule
{
public:
    static constexpr int DEFAULT_FPS = 60;
    static constexpr irr::u32 FIRST_TIMER_MS = 1000;

    explicit FrameSchedule(int fps = DEFAULT_FPS);

    int fps() const { return framesPerSecond; }
    irr::u32 timerMs(int frame) const;
    // The demo clock after tick `frame`.
    float clockAt(int frame);
    // The number of frames the timeline shows: the tick after the last of
    // them would pass the timeline's end (and end the demo).
    int timelineFrames();
    // The first frame whose clock is at least `seconds`, among frames
    // 0 .. frameLimit - 1; -1 when there is none.
    int firstFrameAtOrAfter(float seconds, int frameLimit);
    // The last frame whose clock is at most `seconds`, among frames
    // 0 .. frameLimit - 1; -1 when there is none.
    int lastFrameAtOrBefore(float seconds, int frameLimit);

private:
    void extendTo(int frame);

    int framesPerSecond;
    std::vector<float> clocks; // clocks[i]: the demo clock after tick i
    int timelineFrameCount = -1;
};
