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

// Seconds from the process's start to its first frame, step by step, in the
// demo's own order.
struct StartupTimes
{
    double process = 0.0;    // from the process's start to the session's
    double device = 0.0;     // creating the device and window
    double init = 0.0;       // the context, the director, every effect's init
    double music = 0.0;      // opening and starting the soundtrack
    double firstFrame = 0.0; // the first frame, until the GPU has finished it

    double total() const { return process + device + init + music + firstFrame; }
};

// What the timedemo measured, and its two renderings.
struct BenchReport
{
    int fps = 60;
    int pinnedEffect = 0; // --effect: the one effect drawn; 0: the timeline
    StartupTimes startup;
    FrameTimes emptyFrame;              // beginScene + endScene alone
    std::vector<SectionTimes> sections; // in timeline order
    FrameTimes whole;                   // every frame drawn
    double peakMegabytes = 0.0;         // the process's peak resident memory

    // A mean frame time as a multiple of the empty frame's.
    double floorRatio(const FrameTimes& t) const;

    std::string table() const;
    std::string json() const;
};

// Groups per-frame times by the effect that drew them, in the order the
// sections first appear.
std::vector<SectionTimes> groupBySection(const std::vector<irr::s32>& effectIds, const std::vector<float>& clocks,
                                         const std::vector<double>& milliseconds);
