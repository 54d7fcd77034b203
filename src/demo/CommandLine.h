#pragma once

#include "display/ScreenScaler.h"
#include "platform/DemoGeometry.h"
#include "platform/DisplayPlan.h"

#include <stdexcept>
#include <string>
#include <vector>

// What the demo's command line asks for.
struct DemoOptions
{
    bool help = false;
    bool version = false;
    DisplayMethod display = DisplayMethod::Automatic;
    irr::core::dimension2du windowSize{SCREEN_WIDTH, SCREEN_HEIGHT}; // --window=WxH
    ScaleMode scale = ScaleMode::Sharp;
    bool vsync = false;
    bool mute = false;
    float start = 0.0f;  // --start SECONDS: demo time to start at
    bool loop = false;   // --loop: start again at the timeline's end instead of ending
    bool gentle = false; // --gentle: no more than three flashes a second
};

// A command line the demo cannot follow: one line naming the argument, exit 2.
class DemoUsageError : public std::runtime_error
{
public:
    explicit DemoUsageError(const std::string& message) : std::runtime_error(message) {}
};

// Reads the arguments after the program name; throws DemoUsageError.
DemoOptions parseDemoOptions(const std::vector<std::string>& args);

std::string demoHelpText();
std::string demoVersionText();
