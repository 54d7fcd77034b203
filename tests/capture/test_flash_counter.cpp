// The flash counter on made-up series, and the analysis on made-up frames.
#include "FlashAnalysis.h"
#include "FlashCounter.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
constexpr int FPS = 60;

FlashCounter generalCounter()
{
    return FlashCounter(FlashCounter::GENERAL_THRESHOLD, FlashCounter::GENERAL_DARKER_BELOW, FPS);
}

// The most flashes in any one second of a square wave between two readings
// (a cosine when `smooth`), `hertz` cycles a second, over four seconds.
float worstOfSquareWave(FlashCounter counter, float hertz, float low, float high, bool smooth = false)
{
    float worst = 0.0f;
    for (int frame = 0; frame < 4 * FPS; ++frame)
    {
        const float t = static_cast<float>(frame) / FPS;
        const bool bright = std::fmod(t * hertz, 1.0f) < 0.5f;
        const float fade = 0.5f + 0.5f * std::cos(2 * 3.14159265f * hertz * t);
        worst = std::max(worst, counter.add(t, smooth ? low + (high - low) * fade : bright ? high : low));
    }
    return worst;
}

TEST(FlashCounter, CountsOpposingTransitionsWithinOneSecond)
{
    // Black to white: 4 Hz is 4 flashes a second, over the limit; 3 Hz is at it.
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 4.0f, 0.0f, 1.0f), 4.0f);
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 3.0f, 0.0f, 1.0f), 3.0f);
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 1.0f, 0.0f, 1.0f), 1.0f);
    // An odd number of transitions in the second is half a flash more.
    FlashCounter counter = generalCounter();
    counter.add(0.0f, 0.0f);
    counter.add(0.1f, 0.5f);
    counter.add(0.2f, 0.0f);
    EXPECT_FLOAT_EQ(counter.add(0.3f, 0.5f), 1.5f);
    // Once more than a second has passed, the old transitions are out of it.
    EXPECT_FLOAT_EQ(counter.add(1.25f, 0.5f), 0.5f);
    EXPECT_FLOAT_EQ(counter.add(2.0f, 0.5f), 0.0f);

    // A cosine fade between black and white: each fall from white counts
    // once it gets dark (it passes the threshold still bright), like each rise.
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 2.0f, 0.0f, 1.0f, true), 2.0f);
}

TEST(FlashCounter, SmallSwingsBrightPairsAndSlowFadesAreNoFlash)
{
    // A swing of 0.09 stays below the 0.1 a transition needs; 0.11 is one.
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 5.0f, 0.3f, 0.39f), 0.0f);
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 5.0f, 0.3f, 0.41f), 5.0f);
    // Both states at 0.8 or brighter: no flash, however large the swing is.
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 5.0f, 0.8f, 0.95f), 0.0f);
    EXPECT_FLOAT_EQ(worstOfSquareWave(generalCounter(), 5.0f, 0.79f, 0.95f), 5.0f);
    // Steps within one fade add up to a single transition, not one per frame.
    FlashCounter counter = generalCounter();
    float worst = 0.0f;
    for (int frame = 0; frame <= FPS; ++frame)
        worst = std::max(worst, counter.add(static_cast<float>(frame) / FPS, static_cast<float>(frame) / FPS));
    EXPECT_FLOAT_EQ(worst, 0.5f);
}

TEST(FlashCounter, SaturatedRedIsMeasuredInLinearLight)
{
    // Pure red is saturated; pink with a little blue still is; orange and white are not.
    EXPECT_FLOAT_EQ(FlashCounter::redValue(1.0f, 0.0f, 0.0f), 320.0f);
    EXPECT_NEAR(FlashCounter::redValue(1.0f, 0.0f, 0.2f), 256.0f, 1e-3f);
    EXPECT_FLOAT_EQ(FlashCounter::redValue(1.0f, 0.5f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(FlashCounter::redValue(1.0f, 1.0f, 1.0f), 0.0f);
    EXPECT_FLOAT_EQ(FlashCounter::redValue(0.0f, 0.0f, 0.0f), 0.0f);
    // A dim red that changes by 20 or less in the red value is no red flash.
    FlashCounter red(FlashCounter::RED_THRESHOLD, HUGE_VALF, FPS);
    EXPECT_FLOAT_EQ(worstOfSquareWave(red, 4.0f, 0.0f, FlashCounter::redValue(0.06f, 0.0f, 0.0f)), 0.0f);
    EXPECT_FLOAT_EQ(worstOfSquareWave(red, 4.0f, 0.0f, FlashCounter::redValue(0.5f, 0.0f, 0.0f)), 4.0f);
    EXPECT_NEAR(FlashCounter::luminance(1.0f, 1.0f, 1.0f), 1.0f, 1e-6f);
}

RgbImage frameOf(unsigned char r, unsigned char g, unsigned char b, int left = 0, int top = 0, int width = 640,
                 int height = 480)
{
    RgbImage frame(640, 480);
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
        {
            unsigned char* p = frame.row(static_cast<unsigned>(y)) + 3 * x;
            p[0] = r;
            p[1] = g;
            p[2] = b;
        }
    return frame;
}

TEST(FlashAnalysis, FindsTheWorstRegionAndSectionOfFrames)
{
    // Section 1: a 4 Hz black and red square in the top left corner, then
    // black long enough to leave it more than a second behind (a second
    // that spans two sections counts in both); section 2: the whole picture
    // between two greys at 2 Hz.
    const RgbImage black = frameOf(0, 0, 0);
    const RgbImage corner = frameOf(255, 0, 0, 0, 0, 240, 180);
    const RgbImage darkGrey = frameOf(60, 60, 60);
    const RgbImage lightGrey = frameOf(160, 160, 160);
    FlashAnalysis analysis(FPS);
    EXPECT_GT(analysis.regionCount(), 40 * 50);
    for (int frame = 0; frame < 4 * FPS; ++frame)
    {
        const float t = static_cast<float>(frame) / FPS;
        const bool on = frame < 2 * FPS && std::fmod(t * 4, 1.0f) < 0.5f;
        analysis.addFrame(on ? corner : black, t, 1);
    }
    for (int frame = 4 * FPS; frame < 8 * FPS; ++frame)
    {
        const float t = static_cast<float>(frame) / FPS;
        analysis.addFrame(std::fmod(t * 2, 1.0f) < 0.5f ? lightGrey : darkGrey, t, 2);
    }
    const auto& sections = analysis.sections();
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0].effect, 1);
    EXPECT_FLOAT_EQ(sections[0].general.flashes, 4.0f);
    EXPECT_FLOAT_EQ(sections[0].red.flashes, 4.0f);
    // The region lies within the flashing square, which it fills most.
    EXPECT_GE(sections[0].red.x, 0);
    EXPECT_LE(sections[0].red.x + FlashAnalysis::REGION_WIDTH, 240 + FlashAnalysis::STRIDE);
    EXPECT_LE(sections[0].red.y + FlashAnalysis::REGION_HEIGHT, 180 + FlashAnalysis::STRIDE);
    EXPECT_FALSE(sections[0].passes());
    EXPECT_FLOAT_EQ(sections[1].general.flashes, 2.0f);
    EXPECT_FLOAT_EQ(sections[1].red.flashes, 0.0f);
    EXPECT_GE(sections[1].first, 4.0f);
    EXPECT_TRUE(sections[1].passes());
    EXPECT_NE(analysis.table().find("FAILS"), std::string::npos);
    EXPECT_NE(analysis.json().find("\"passes\": true"), std::string::npos);
}
} // namespace
