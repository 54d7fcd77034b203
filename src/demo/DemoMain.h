#pragma once

#include <irrlicht.h>

// The path of the soundtrack, as the demo has always named it.
constexpr const char* MUSIC_PATH = "..\\data\\stream\\kiru.ogg";

// The whole run of the demo on a created device: load everything, start the
// music, draw frames while the device runs and its window is active, then
// shut down in order and drop the device. Returns the exit code, 0. When the
// timeline runs out the process ends inside a frame instead.
int runDemo(irr::IrrlichtDevice* device);
