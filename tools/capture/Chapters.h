#pragma once

#include <string>
#include <vector>

// One chapter of a video: a section of the timeline, its times in seconds of
// the video (0 is the video's first frame).
struct Chapter
{
    double start = 0.0;
    double end = 0.0;
    std::string title;
};

// The title players and sites show for a video of the demo.
constexpr const char* VIDEO_TITLE = "KIRUPO";

// The chapters of a video whose first frame shows demo time `firstTime` and
// which ends at demo time `endTime` (its last frame's time plus one frame):
// one for each section of the timeline it touches, named after the section,
// the first starting at 0 and the last ending at the video's end.
std::vector<Chapter> sectionChapters(double firstTime, double endTime);

// The title and the chapters as ffmpeg's metadata file (FFMETADATA1), times
// in milliseconds.
std::string ffmetadata(const std::string& title, const std::vector<Chapter>& chapters);
