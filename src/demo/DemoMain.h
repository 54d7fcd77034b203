#pragma once

#include "display/ScreenScaler.h"

#include <irrlicht.h>

// The path of the soundtrack, as the demo has always named it.
constexpr const char* MUSIC_PATH = "..\\data\\stream\\kiru.ogg";

// How the demo runs on its device, as its command line asks.
struct RunSettings
{
    ScaleMode scale = ScaleMode::Sharp; // how a bigger window shows the 640 x 480 picture
    bool mute = false;                  // no audio device opened
    float start = 0.0f;                 // the demo time to start at
    bool gentle = false;                // effects that flash keep within three flashes a second
    bool loop = false;                  // start again at the timeline's end instead of ending
};

// The whole run of the demo on a created device: load everything, start the
// music, draw frames while the device runs and its window is active, then
// shut down in order and drop the device. While the window is inactive the
// loop waits for the window's events instead of spinning, and once the
// timeline has run out by the music's clock (unless looping) it shuts down
// in order. Returns the exit code: 0, or 128 + the signal's number after a
// stop signal (StopSignals). When the timeline runs out in an active frame
// the process ends inside that frame instead.
int runDemo(irr::IrrlichtDevice* device, const RunSettings& settings = RunSettings());
