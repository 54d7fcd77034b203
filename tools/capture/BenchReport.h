#pragma once

#include <irrlicht.h>

#include <string>
#include <vector>

// Frame times of a group of frames, in milliseconds.
struct FrameTimes
{
    int frames = 0;
    double mean = 0.0;
    double p50 = 0.0; // nearest-rank percentiles
    double p99 = 0.0;
    double max = 0.0;
    int over16_7 = 0; // frames slower than one refresh at 60 Hz

    static FrameTimes of(std::vector<double> milliseconds);
};

struct SectionTimes
{
    irr::s32 effectId = 0;
    float from = 0.0f, to = 0.0f; // demo clock of its first and last frame
    FrameTimes times;
};

// What the timedemo measured, and its two renderings.
struct BenchReport
{
    int fps = 60;
    double deviceSeconds = 0.0; // creating the device and window
    double initSeconds = 0.0;   // every effect's init (all assets loaded)
    FrameTimes emptyFrame;      // beginScene + endScene alone
    std::vector<SectionTimes> sections; // in timeline order
    FrameTimes whole;           // every frame of the timeline

    std::string table() const;
    std::string json() const;
};

// Groups per-frame times by the effect that drew them, in the order the
// sections first appear.
std::vector<SectionTimes> groupBySection(const std::vector<irr::s32>& effectIds, const std::vector<float>& clocks,
                                         const std::vector<double>& milliseconds);
