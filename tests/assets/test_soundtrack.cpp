// The generated soundtrack: its format and length, its level, its beat grid,
// its arrangement by section and its loop join; and the mastering that sets
// its level.
#include "DecodedStream.h"
#include "LowBandOnsets.h"
#include "Mastering.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{

constexpr double BAR = 2.526;
constexpr int BARS = 28;
constexpr double HITS[5] = {0.0, 0.635, 1.1, 1.26, 1.89};

const std::string STREAM = std::string(KIRUPO_DATA_DIR) + "/stream/kiru.ogg";

class Soundtrack : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { stream = new DecodedStream(DecodedStream::load(STREAM)); }
    static void TearDownTestSuite()
    {
        delete stream;
        stream = nullptr;
    }
    static DecodedStream* stream;

    // Left plus right.
    static std::vector<float> mono()
    {
        std::vector<float> out(stream->frames());
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = 0.5f * (stream->channels[0][i] + stream->channels[1][i]);
        return out;
    }
};
DecodedStream* Soundtrack::stream = nullptr;

TEST_F(Soundtrack, IsStereoAt44100HzAndExactlyTwentyEightBarsLong)
{
    ASSERT_EQ(stream->rate, 44100);
    ASSERT_EQ(stream->channels.size(), 2u);
    // 28 bars of 2.526 s: the closing phrase ends where the demo does.
    EXPECT_NEAR(stream->seconds(), BARS * BAR, 1.0 / 44100);
}

TEST_F(Soundtrack, PeaksBelowMinusOneDecibelFullScale)
{
    float peak = 0;
    for (const auto& channel : stream->channels)
        for (float s : channel)
            peak = std::max(peak, std::fabs(s));
    const double peakDb = 20.0 * std::log10(peak);
    RecordProperty("peak_dbfs", std::to_string(peakDb));
    EXPECT_LT(peakDb, -1.0);
    EXPECT_GT(peakDb, -6.0) << "a track this quiet at its peak has been squashed or mis-scaled";
}

TEST_F(Soundtrack, IntegratedLoudnessIsMinus14LufsWithinATenth)
{
    // What the Ogg encoder made of the mastered mix, on the meter the mastering uses.
    synth::Stereo decoded;
    decoded.left = stream->channels[0];
    decoded.right = stream->channels[1];
    const double lufs = synth::integratedLoudness(decoded);
    RecordProperty("integrated_lufs", std::to_string(lufs));
    EXPECT_NEAR(lufs, -14.0, 0.1);

    // ffmpeg's EBU R128 meter, independent of libebur128, agrees; its summary
    // has one decimal: "Integrated loudness:" then "I:  -14.0 LUFS".
    const std::string command = "ffmpeg -hide_banner -nostats -i '" + STREAM + "' -af ebur128 -f null - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char line[512];
    while (std::fgets(line, sizeof line, pipe))
        output += line;
    pclose(pipe);
    const size_t summary = output.find("Integrated loudness:");
    ASSERT_NE(summary, std::string::npos) << output;
    const size_t value = output.find("I:", summary);
    ASSERT_NE(value, std::string::npos) << output;
    EXPECT_NEAR(std::strtod(output.c_str() + value + 2, nullptr), -14.0, 0.15);
}

// A 997 Hz tone (the reference of the loudness measure, where K-weighting and
// its offset cancel) of the given peak in dBFS, in the left channel and,
// unless leftOnly, in the right. The length is no whole number of any block.
synth::Stereo tone(double peakDb, bool leftOnly = false, double seconds = 5.3)
{
    synth::Stereo sound(size_t(seconds * synth::RATE));
    const double amplitude = std::pow(10.0, peakDb / 20.0);
    for (size_t i = 0; i < sound.frames(); ++i)
    {
        const float s = float(amplitude * std::sin(2 * 3.141592653589793 * 997.0 * double(i) / synth::RATE));
        sound.left[i] = s;
        sound.right[i] = leftOnly ? 0.0f : s;
    }
    return sound;
}

TEST(Mastering, MeterReadsTheReferenceToneAndSilence)
{
    // A tone in both channels reads its peak level; in one channel, 3 dB less.
    EXPECT_NEAR(synth::integratedLoudness(tone(-20.0)), -20.0, 0.05);
    EXPECT_NEAR(synth::integratedLoudness(tone(-20.0, true)), -23.01, 0.05);
    // The relative gate leaves out a quiet tail ten times as long, 30 dB down,
    // which would take the reading to -30 LUFS; the blocks that straddle the
    // change still count and take a third of a decibel off.
    synth::Stereo loudThenQuiet = tone(-20.0, false, 2.0);
    const synth::Stereo tail = tone(-50.0, false, 20.0);
    loudThenQuiet.left.insert(loudThenQuiet.left.end(), tail.left.begin(), tail.left.end());
    loudThenQuiet.right.insert(loudThenQuiet.right.end(), tail.right.begin(), tail.right.end());
    EXPECT_NEAR(synth::integratedLoudness(loudThenQuiet), -20.0, 0.5);
    EXPECT_EQ(synth::integratedLoudness(synth::Stereo(size_t(synth::RATE))), synth::SILENCE_LUFS);
    EXPECT_EQ(synth::integratedLoudness(synth::Stereo()), synth::SILENCE_LUFS);
}

TEST(Mastering, ReachesTheTargetWithTheLimiterHoldingThePeaks)
{
    // A quiet tone with full-scale clicks: the gain that brings it to -14 LUFS
    // pushes the clicks far over the ceiling, so the limiter must work.
    synth::Stereo sound = tone(-30.0);
    for (size_t i = 0; i < sound.frames(); i += synth::RATE / 2)
        sound.left[i] = sound.right[i] = 1.0f;
    const float ceiling = 0.891f; // -1 dBFS
    synth::master(sound, -14.0, ceiling);
    EXPECT_NEAR(synth::integratedLoudness(sound), -14.0, 0.1);
    float peak = 0;
    for (size_t i = 0; i < sound.frames(); ++i)
        peak = std::max({peak, std::fabs(sound.left[i]), std::fabs(sound.right[i])});
    EXPECT_LE(peak, ceiling);
    EXPECT_GT(peak, 0.5f * ceiling);
}

TEST_F(Soundtrack, DrumsHitThePatternOfEveryBarWithin10Milliseconds)
{
    const std::vector<double> onsets = lowBandOnsets(mono(), stream->rate);
    std::vector<double> expected;
    for (int bar = 0; bar < BARS; ++bar)
        for (double hit : HITS)
            expected.push_back(bar * BAR + hit);
    auto nearest = [](const std::vector<double>& times, double t) {
        double best = 1e9;
        for (double u : times)
            best = std::min(best, std::fabs(u - t));
        return best;
    };
    double worst = 0;
    int missed = 0, stray = 0;
    for (double t : expected)
    {
        const double miss = nearest(onsets, t);
        worst = std::max(worst, miss);
        if (miss >= 0.010 && ++missed <= 5)
            ADD_FAILURE() << "no onset within 10 ms of the hit at " << t << " s (nearest " << miss * 1000 << " ms)";
    }
    for (double t : onsets)
        if (nearest(expected, t) >= 0.010 && ++stray <= 5)
            ADD_FAILURE() << "an onset off the pattern at " << t << " s";
    EXPECT_EQ(missed, 0);
    EXPECT_EQ(stray, 0);
    RecordProperty("worst_hit_offset_ms", std::to_string(worst * 1000));
}

// Energy per bar in octave bands, in decibels: a rough picture of which
// instruments play.
std::vector<std::vector<double>> bandEnergyPerBar(const std::vector<float>& signal, long rate)
{
    const double edges[] = {100, 200, 400, 800, 1600, 3200, 6400};
    std::vector<std::vector<float>> bands;
    for (double edge : edges)
    {
        // Differences of one-pole low passes give crude bands.
        const float a = 1.0f - std::exp(-2.0f * 3.14159265f * float(edge) / float(rate));
        std::vector<float> low(signal.size());
        float s = 0;
        for (size_t i = 0; i < signal.size(); ++i)
            low[i] = s += a * (signal[i] - s);
        bands.push_back(std::move(low));
    }
    std::vector<std::vector<double>> perBar;
    for (int bar = 0; bar < BARS; ++bar)
    {
        const size_t from = size_t(bar * BAR * rate), to = size_t((bar + 1) * BAR * rate);
        std::vector<double> levels;
        for (size_t b = 0; b <= bands.size(); ++b)
        {
            double sum = 0;
            for (size_t i = from; i < to && i < signal.size(); ++i)
            {
                const float upper = b < bands.size() ? bands[b][i] : signal[i];
                const float lower = b > 0 ? bands[b - 1][i] : 0.0f;
                sum += double(upper - lower) * (upper - lower);
            }
            levels.push_back(10.0 * std::log10(sum / double(to - from) + 1e-12));
        }
        perBar.push_back(levels);
    }
    return perBar;
}

TEST_F(Soundtrack, ArrangementChangesAtEverySectionBoundary)
{
    // Each section's band levels, averaged over its four bars, differ from the
    // next section's (and the last from the first, where the loop joins) by
    // more than any bar strays from its own section's average.
    const auto levels = bandEnergyPerBar(mono(), stream->rate);
    const size_t bands = levels[0].size();
    std::vector<std::vector<double>> sections(BARS / 4, std::vector<double>(bands, 0.0));
    for (int bar = 0; bar < BARS; ++bar)
        for (size_t b = 0; b < bands; ++b)
            sections[size_t(bar / 4)][b] += levels[size_t(bar)][b] / 4;
    auto distance = [bands](const std::vector<double>& x, const std::vector<double>& y) {
        double sum = 0;
        for (size_t b = 0; b < bands; ++b)
            sum += std::fabs(x[b] - y[b]);
        return sum;
    };
    double withinSections = 0, acrossBoundaries = 1e9;
    for (int bar = 0; bar < BARS; ++bar)
        withinSections = std::max(withinSections, distance(levels[size_t(bar)], sections[size_t(bar / 4)]));
    for (size_t s = 0; s < sections.size(); ++s)
    {
        acrossBoundaries = std::min(acrossBoundaries, distance(sections[s], sections[(s + 1) % sections.size()]));
    }
    RecordProperty("largest_stray_within_sections_db", std::to_string(withinSections));
    RecordProperty("smallest_change_at_boundaries_db", std::to_string(acrossBoundaries));
    EXPECT_GT(acrossBoundaries, withinSections);
}

TEST_F(Soundtrack, LoopJoinsWithoutAClick)
{
    // The step from the last sample to the first is no larger than the steps
    // the music itself takes: the end flows into the start.
    for (const auto& channel : stream->channels)
    {
        std::vector<float> steps;
        for (size_t i = 1; i < channel.size(); ++i)
            steps.push_back(std::fabs(channel[i] - channel[i - 1]));
        std::nth_element(steps.begin(), steps.begin() + steps.size() * 999 / 1000, steps.end());
        const float usual = steps[steps.size() * 999 / 1000];
        const float join = std::fabs(channel.front() - channel.back());
        EXPECT_LE(join, usual) << "the loop join jumps by " << join;
        // A loop that ends in silence or starts from it would hide a click: both ends sound.
        float endLevel = 0, startLevel = 0;
        for (size_t i = 0; i < 2205; ++i)
        {
            endLevel = std::max(endLevel, std::fabs(channel[channel.size() - 1 - i]));
            startLevel = std::max(startLevel, std::fabs(channel[i]));
        }
        EXPECT_GT(endLevel, 0.001f);
        EXPECT_GT(startLevel, 0.001f);
    }
}

} // namespace
