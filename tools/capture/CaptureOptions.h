#pragma once

#include "display/ScreenScaler.h"
#include "platform/DemoGeometry.h"

#include <string>
#include <vector>

enum class Command
{
    Help,
    Frame,
    Frames,
    Video,
    Storyboard,
    Bench,
    Flashes,
    Effects,
};

// What the command line asks for; every field not used by the command keeps
// its default.
struct CaptureOptions
{
    Command command = Command::Help;
    std::string output; // OUT.png, DIR, OUT.mp4 or the bench's and flashes' --json FILE (empty: none)
    int fps = 60;
    float seconds = 0.0f;  // frame SECONDS
    int effectId = 0;      // frame --effect ID; 0: the timeline's choice
    float from = 0.0f;     // frames, video and flashes --from
    float to = -1.0f;      // frames, video and flashes --to; negative: the end of the timeline
    bool native = false;   // video --native
    int size = 1080;       // video --size: the frame height, 16:9
    bool lossless = false; // video --lossless
    bool gentle = false;   // --gentle: the demo's gentle mode
    float every = 2.526f;  // storyboard --every: one beat pattern of the opening
    int columns = 4;       // storyboard --columns: four beat patterns make one section
    irr::core::dimension2du screen{SCREEN_WIDTH, SCREEN_HEIGHT}; // frame, frames --screen: the picture scaled onto it
    ScaleMode scale = ScaleMode::Sharp;                          // --scale

    // The directory the tool was started in (empty: the working directory).
    // A relative output name leads from there, though the tool works in its
    // own directory to find the demo's data.
    std::string startDirectory;
    // Where the output goes: output, led from startDirectory when relative.
    std::string outputPath() const;
};

// The heights video --size offers, and the 16:9 frame of each (480: 854 wide,
// the nearest even width).
constexpr int VIDEO_HEIGHTS[] = {480, 720, 1080, 1440, 2160};
int videoWidthFor(int height);

// Reads the arguments after the program name; throws UsageError with a
// one-line reason when they make no sense.
CaptureOptions parseArguments(const std::vector<std::string>& args);

// The short usage (after a bad command line) and the whole help (--help).
std::string usageText();
std::string helpText();

// Limits of the arguments, also stated in the help.
constexpr int MAX_FPS = 1000;
constexpr float MAX_SECONDS = 3600.0f;
constexpr float MIN_EVERY = 0.1f;
constexpr int MAX_COLUMNS = 32;
