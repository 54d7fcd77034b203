#include "demo/CommandLine.h"

#include "demo/DemoStart.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace
{
// The option a CLI11 complaint is about, with its dashes.
std::string optionNamed(const std::string& what)
{
    std::string option = what.substr(0, what.find_first_of(": "));
    return option.rfind("--", 0) == 0 ? option : "--" + option;
}

DemoUsageError inOwnWords(const CLI::ParseError& error)
{
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error))
    {
        if (what.find("flag override") != std::string::npos)
            return DemoUsageError(optionNamed(what) + " takes no value");
        return DemoUsageError(optionNamed(what) + " needs a value");
    }
    if (dynamic_cast<const CLI::ExcludesError*>(&error))
        return DemoUsageError("give only one of --fullscreen, --desktop and --window");
    return DemoUsageError(what);
}

// Seconds are read as the float the demo clock is compared with.
float startSeconds(const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const float seconds = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(seconds) || !canStartAt(seconds))
        throw DemoUsageError("--start must be a number of seconds from 0 to below 70.728, the demo's length, not '" +
                             text + "'");
    return seconds;
}
} // namespace

DemoOptions parseDemoOptions(const std::vector<std::string>& args)
{
    DemoOptions options;
    CLI::App app("kirupo");
    app.set_help_flag();
    app.allow_extras();
    std::string windowText, scaleText, startText;
    app.add_flag("-h,--help", options.help)->disable_flag_override();
    app.add_flag("--version", options.version)->disable_flag_override();
    CLI::Option* fullscreen = app.add_flag("--fullscreen")->disable_flag_override();
    CLI::Option* desktop = app.add_flag("--desktop")->disable_flag_override();
    CLI::Option* window = app.add_option("--window", windowText)->expected(0, 1);
    fullscreen->excludes(desktop)->excludes(window);
    desktop->excludes(window);
    app.add_option("--scale", scaleText);
    app.add_flag("--vsync", options.vsync)->disable_flag_override();
    app.add_flag("--mute", options.mute)->disable_flag_override();
    CLI::Option* start = app.add_option("--start", startText);
    app.add_flag("--loop", options.loop)->disable_flag_override();
    app.add_flag("--gentle", options.gentle)->disable_flag_override();

    try
    {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend())); // CLI11 takes them last first
    }
    catch (const CLI::ParseError& error)
    {
        throw inOwnWords(error);
    }
    for (const std::string& extra : app.remaining())
    {
        if (extra.rfind("-", 0) == 0 && extra != "-")
            throw DemoUsageError("unknown option " + extra.substr(0, extra.find('=')));
        throw DemoUsageError("unexpected argument '" + extra + "'");
    }
    if (options.help || options.version)
        return options;

    if (fullscreen->count())
        options.display = DisplayMethod::Fullscreen;
    else if (desktop->count())
        options.display = DisplayMethod::Desktop;
    else if (window->count())
    {
        options.display = DisplayMethod::Window;
        if (!windowText.empty() && !parseScreenSize(windowText, options.windowSize))
            throw DemoUsageError("--window must be WIDTHxHEIGHT, e.g. 1280x960, not '" + windowText + "'");
        if (options.windowSize.Width < SCREEN_WIDTH || options.windowSize.Height < SCREEN_HEIGHT)
            throw DemoUsageError("--window " + windowText + " is smaller than the picture's 640x480");
    }
    if (start->count())
        options.start = startSeconds(startText);
    if (!scaleText.empty() && !parseScaleMode(scaleText, options.scale))
        throw DemoUsageError("--scale must be sharp, smooth or integer, not '" + scaleText + "'");
    return options;
}

std::string demoHelpText()
{
    return "Usage: kirupo [--fullscreen | --desktop | --window[=WxH]] [--scale MODE]\n"
           "              [--vsync] [--mute] [--start SECONDS] [--loop] [--gentle]\n"
           "\n"
           "Photosensitivity warning: this demo has flashing lights and rapidly\n"
           "changing colours that may trigger seizures in people with photosensitive\n"
           "epilepsy. --gentle tones the flashing down to a safer level.\n"
           "\n"
           "KIRUPO is a real-time audiovisual demo: six sections of pictures and music,\n"
           "70.7 seconds long, drawn at 640x480 the moment you watch them. It plays once\n"
           "and ends. Escape or closing the window ends it early, and so do SIGINT,\n"
           "SIGTERM, SIGHUP and SIGQUIT, in the same orderly way (the screen's own\n"
           "video mode is given back).\n"
           "\n"
           "Display methods:\n"
           "  --fullscreen     the demo's own way: the screen switched to 640x480. The\n"
           "                   default where the screen offers a 640x480 mode and a\n"
           "                   single monitor is active; where it offers none, the demo\n"
           "                   says so and uses --desktop.\n"
           "  --desktop        a borderless fullscreen window at the screen's own\n"
           "                   resolution, no mode switch, the picture scaled into the\n"
           "                   largest centred 4:3 rectangle with black bars. The default\n"
           "                   where there is no 640x480 mode or several monitors.\n"
           "  --window[=WxH]   an ordinary resizable window, 640x480 unless given (at\n"
           "                   least 640x480); the picture keeps its aspect at any size.\n"
           "\n"
           "Options:\n"
           "  --scale MODE     how the picture is enlarged: sharp (default; nearest\n"
           "                   neighbour to the largest whole multiple, smooth for the\n"
           "                   rest, so pixel art stays crisp without shimmering), smooth\n"
           "                   (bilinear) or integer (the largest whole multiple only,\n"
           "                   centred).\n"
           "  --vsync          frames synced to the display: no tearing. Off by default,\n"
           "                   as the demo has always run: frames as fast as the machine\n"
           "                   draws them.\n"
           "  --mute           no sound: no audio device is opened.\n"
           "  --start SECONDS  starts the picture and the music at that demo time (from 0\n"
           "                   to below 70.728), every section as a run from the start\n"
           "                   would have it.\n"
           "  --loop           at the end the demo starts again from the beginning,\n"
           "                   music included, until it is ended: for a booth or a party\n"
           "                   screen.\n"
           "  --gentle         for photosensitive viewers: the same sections and music\n"
           "                   with softer, slower flashing, no more than three flashes\n"
           "                   a second anywhere on the screen.\n"
           "  -h, --help       this help.\n"
           "  --version        the version.\n"
           "\n"
           "Exit status: 0 when the demo ends or is ended with Escape or its window;\n"
           "128 + the signal's number after a stop signal (130 for SIGINT, 143 for\n"
           "SIGTERM); 1 when no window can be opened; 2 for a bad command line.\n";
}

std::string demoVersionText()
{
    return "kirupo " KIRUPO_VERSION "\n";
}
