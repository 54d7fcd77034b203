#pragma once

#include <vector>

// Counts the flashes in one series of readings (one area's luminance, or
// its saturated-red value), frame by frame.
//
// A transition is a change of the reading by at least `threshold` between a
// local extreme and the reading that turns back from it; a flash is a pair of
// opposing transitions, so the flashes in any one second are half the
// transitions within it (3.5 when seven fall in one second). A general
// transition counts only when its darker end is below `darkerBelow` (two
// bright states flicker without flashing; a fall's darker end is the lowest
// it reaches); the red series passes no limit.
class FlashCounter
{
public:
    // Relative luminance: a swing of 0.1, the darker end below 0.8.
    static constexpr float GENERAL_THRESHOLD = 0.1f;
    static constexpr float GENERAL_DARKER_BELOW = 0.8f;
    // The saturated-red value (see redValue): a swing of more than 20.
    static constexpr float RED_THRESHOLD = 20.0f;

    // Room for every transition within one second at up to maxFps frames a second.
    FlashCounter(float threshold, float darkerBelow, int maxFps = 1000);

    // The reading at `seconds` (never earlier than the last). Returns the
    // flashes in the second that ends here (transitions since seconds - 1).
    float add(float seconds, float reading);
    // The same, as of the last reading.
    float flashesInLastSecond() const { return lastCount; }
    void reset();

    // The saturated-red reading of a colour in linear light: (R - G - B) x 320
    // when red makes at least 0.8 of R + G + B, otherwise 0 (negative values
    // count as 0 too), so only changes into or out of saturated red count.
    static float redValue(float r, float g, float b);
    // An sRGB component (0 to 255) in linear light (0 to 1).
    static float linearLight(unsigned char component);
    // WCAG 2.x relative luminance of linear-light components.
    static float luminance(float r, float g, float b) { return 0.2126f * r + 0.7152f * g + 0.0722f * b; }

private:
    enum class Trend
    {
        None,
        Rising,
        Falling,
    };
    bool turn(Trend to, float reading); // always true: a transition
    float countWithinSecondBefore(float seconds) const;

    float threshold;
    float darkerBelow;
    Trend trend = Trend::None;
    float extreme = 0.0f;         // the peak of a rise, the trough of a fall
    bool fallStillBright = false; // a fall by the threshold, not yet below darkerBelow
    float lowest = 0.0f;          // the series' extremes, for the first transition
    float highest = 0.0f;
    bool started = false;
    std::vector<float> times; // ring of the transitions' times
    int newest = -1;
    int stored = 0;
    float lastCount = 0.0f;
};
