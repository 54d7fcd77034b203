#include "CaptureOptions.h"

#include "CaptureErrors.h"
#include "VideoEncoder.h"
#include "demo/FrameSchedule.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace
{
struct CommandShape
{
    Command command;
    std::vector<std::string> operands; // their names, for messages
    std::vector<std::string> options;  // the options it takes
};

const std::map<std::string, CommandShape> COMMANDS = {
    {"frame", {Command::Frame, {"SECONDS", "OUT.png"}, {"--fps", "--effect", "--screen", "--scale", "--gentle"}}},
    {"frames", {Command::Frames, {"DIR"}, {"--fps", "--from", "--to", "--screen", "--scale", "--gentle"}}},
    {"video",
     {Command::Video,
      {"OUT.mp4"},
      {"--fps", "--native", "--from", "--to", "--size", "--scale", "--lossless", "--gentle"}}},
    {"storyboard", {Command::Storyboard, {"OUT.png"}, {"--every", "--columns", "--gentle"}}},
    {"bench", {Command::Bench, {}, {"--json", "--fps", "--effect", "--screen", "--scale", "--gentle"}}},
    {"flashes", {Command::Flashes, {}, {"--json", "--from", "--to", "--gentle"}}},
    {"effects", {Command::Effects, {}, {}}},
};

bool takesValue(const std::string& option)
{
    return option != "--native" && option != "--lossless" && option != "--gentle";
}

int parseWhole(const std::string& text, const std::string& what, int min, int max)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max)
        throw UsageError(what + " must be a whole number from " + std::to_string(min) + " to " + std::to_string(max) +
                         ", not '" + text + "'");
    return static_cast<int>(value);
}

int parseVideoHeight(const std::string& text)
{
    for (int height : VIDEO_HEIGHTS)
        if (text == std::to_string(height))
            return height;
    throw UsageError("--size must be one of 480, 720, 1080, 1440 or 2160 (the frame height), not '" + text + "'");
}

// Seconds are read as the float the demo clock is compared with.
float parseSeconds(const std::string& text, const std::string& what, float min)
{
    char* end = nullptr;
    errno = 0;
    const float value = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || errno != 0 || !std::isfinite(value) || value < min || value > MAX_SECONDS)
    {
        char range[64];
        std::snprintf(range, sizeof range, "from %g to %g", static_cast<double>(min), static_cast<double>(MAX_SECONDS));
        throw UsageError(what + " must be a number of seconds " + range + ", not '" + text + "'");
    }
    return value;
}

void applyOption(CaptureOptions& options, const std::string& name, const std::string& value)
{
    if (name == "--fps")
        options.fps = parseWhole(value, "--fps", 1, MAX_FPS);
    else if (name == "--effect")
        options.effectId = parseWhole(value, "--effect", 1, 1000000);
    else if (name == "--from")
        options.from = parseSeconds(value, "--from", 0.0f);
    else if (name == "--to")
        options.to = parseSeconds(value, "--to", 0.0f);
    else if (name == "--native")
        options.native = true;
    else if (name == "--size")
        options.size = parseVideoHeight(value);
    else if (name == "--lossless")
        options.lossless = true;
    else if (name == "--gentle")
        options.gentle = true;
    else if (name == "--every")
        options.every = parseSeconds(value, "--every", MIN_EVERY);
    else if (name == "--columns")
        options.columns = parseWhole(value, "--columns", 1, MAX_COLUMNS);
    else if (name == "--screen")
    {
        if (!parseScreenSize(value, options.screen))
            throw UsageError("--screen must be WIDTHxHEIGHT, e.g. 1920x1080, not '" + value + "'");
        if (options.screen.Width < SCREEN_WIDTH || options.screen.Height < SCREEN_HEIGHT)
            throw UsageError("--screen " + value + " is smaller than the picture's 640x480");
    }
    else if (name == "--scale")
    {
        if (!parseScaleMode(value, options.scale))
            throw UsageError("--scale must be sharp, smooth or integer, not '" + value + "'");
    }
    else if (name == "--json")
    {
        if (value.empty())
            throw UsageError("--json needs a file name");
        options.output = value;
    }
}

// What CLI11 found, said in this tool's own words where it has them.
UsageError inOwnWords(const CLI::ParseError& error)
{
    const std::string what = error.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&error))
    {
        // CLI11 starts these with the option's name, a flag's without its dashes.
        std::string option = what.substr(0, what.find_first_of(": "));
        if (option.rfind("--", 0) != 0)
            option = "--" + option;
        if (what.find("flag override") != std::string::npos)
            return UsageError(option + " takes no value");
        return UsageError(option + " needs a value");
    }
    return UsageError(what);
}

// What the command line holds, as CLI11 sorts it: the command, its operands
// and the text of each option given. Values are checked afterwards, so that
// every message names the argument and its limits.
struct SortedArguments
{
    bool help = false;
    std::vector<std::string> unknownCommand; // what stood where a command belongs
    std::string command;                     // empty: none given
    std::vector<std::string> operands;
    std::vector<std::string> unexpected;      // options the command does not take, and the like
    std::map<std::string, std::string> given; // option name: its text ("" for --native)
};

SortedArguments sort(const std::vector<std::string>& args)
{
    SortedArguments sorted;
    CLI::App app("kirupo-capture");
    app.set_help_flag("-h,--help");
    app.require_subcommand(0, 1);
    // Extras are kept rather than refused, to be named in this tool's words.
    app.allow_extras();
    CLI::App* help = app.add_subcommand("help")->prefix_command();

    // Only one command is parsed, so the commands share the places their values go.
    std::map<std::string, std::string> texts;
    std::map<std::string, CLI::App*> commands;
    for (const auto& [name, shape] : COMMANDS)
    {
        CLI::App* command = app.add_subcommand(name)->allow_extras();
        command->add_option("operands", sorted.operands);
        for (const std::string& option : shape.options)
            if (takesValue(option))
                command->add_option(option, texts[option])->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
            else
                command->add_flag(option)->disable_flag_override();
        commands[name] = command;
    }

    try
    {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend())); // CLI11 takes them last first
    }
    catch (const CLI::CallForHelp&)
    {
        sorted.help = true;
        return sorted;
    }
    catch (const CLI::ParseError& error)
    {
        throw inOwnWords(error);
    }

    sorted.help = help->parsed();
    sorted.unknownCommand = app.remaining();
    for (const auto& [name, command] : commands)
    {
        if (!command->parsed())
            continue;
        sorted.command = name;
        // CLI11 keeps the "--" that ends the options among the extras.
        for (const std::string& arg : command->remaining())
            if (arg != "--")
                sorted.unexpected.push_back(arg);
        for (const std::string& option : COMMANDS.at(name).options)
            if (command->count(option) > 0)
                sorted.given[option] = texts[option];
    }
    return sorted;
}
} // namespace

CaptureOptions parseArguments(const std::vector<std::string>& args)
{
    CaptureOptions options;
    const SortedArguments sorted = sort(args);
    if (!sorted.unknownCommand.empty())
        throw UsageError("unknown command '" + sorted.unknownCommand.front() + "'");
    if (sorted.help)
        return options;
    if (sorted.command.empty())
        throw UsageError("no command given");
    const CommandShape& shape = COMMANDS.at(sorted.command);
    options.command = shape.command;

    if (!sorted.unexpected.empty())
    {
        const std::string& arg = sorted.unexpected.front();
        if (arg.rfind("--", 0) == 0)
            throw UsageError(sorted.command + " has no option " + arg.substr(0, arg.find('=')));
        throw UsageError("unexpected argument '" + arg + "'");
    }
    for (const std::string& name : shape.options)
    {
        const auto value = sorted.given.find(name);
        if (value != sorted.given.end())
            applyOption(options, name, value->second);
    }

    const auto& operands = sorted.operands;
    const auto& names = shape.operands;
    if (operands.size() < names.size())
        throw UsageError(sorted.command + " needs " + names[operands.size()]);
    if (operands.size() > names.size())
        throw UsageError("unexpected argument '" + operands[names.size()] + "'");
    if (options.command == Command::Frame)
    {
        options.seconds = parseSeconds(operands[0], "SECONDS", 0.0f);
        options.output = operands[1];
    }
    else if (!operands.empty())
        options.output = operands[0];
    if (options.output.empty() && options.command != Command::Bench && options.command != Command::Effects &&
        options.command != Command::Flashes)
        throw UsageError(sorted.command + " needs " + names.back() + " to be a name, not empty");
    if ((options.command == Command::Frames || options.command == Command::Video ||
         options.command == Command::Flashes) &&
        options.to >= 0.0f && options.to < options.from)
        throw UsageError("--to must not be before --from");
    if (options.native && sorted.given.count("--size"))
        throw UsageError("--native keeps 640x480: it takes no --size");
    if (options.lossless && containerFor(options.output) != Container::Matroska)
        throw UsageError("--lossless writes FFV1 and FLAC in Matroska: name the video .mkv, not '" + options.output +
                         "'");
    return options;
}

int videoWidthFor(int height)
{
    return (height * 16 / 9 + 1) / 2 * 2;
}

std::string CaptureOptions::outputPath() const
{
    if (output.empty() || startDirectory.empty())
        return output;
    // An absolute path stays as it is ("Z:\\x.png" too on Windows, and "\\x.png" keeps the start's drive).
    return (std::filesystem::path(startDirectory) / output).string();
}

std::string usageText()
{
    // The layout help2man reads into the manual page's synopsis.
    return "Usage: kirupo-capture frame SECONDS OUT.png [--fps N] [--effect ID] [--screen WxH] [--scale MODE] "
           "[--gentle]\n"
           "  or:  kirupo-capture frames DIR [--fps N] [--from S] [--to S] [--screen WxH] [--scale MODE] [--gentle]\n"
           "  or:  kirupo-capture video OUT.mp4 [--fps N] [--native | --size H] [--scale MODE] [--lossless] "
           "[--from S] [--to S] [--gentle]\n"
           "  or:  kirupo-capture storyboard OUT.png [--every S] [--columns N] [--gentle]\n"
           "  or:  kirupo-capture bench [--json FILE] [--fps N] [--effect ID] [--screen WxH] [--scale MODE] "
           "[--gentle]\n"
           "  or:  kirupo-capture flashes [--json FILE] [--from S] [--to S] [--gentle]\n"
           "  or:  kirupo-capture effects\n"
           "  or:  kirupo-capture --help\n";
}

std::string helpText()
{
    FrameSchedule schedule;
    const int lastFrame = schedule.timelineFrames() - 1;
    char end[200];
    std::snprintf(end, sizeof end,
                  "  command ticks past the last frame the timeline shows (at 60 fps frame\n  %d, demo time %.3f s), "
                  "so the demo's own end is never reached.\n",
                  lastFrame, static_cast<double>(schedule.clockAt(lastFrame)));
    // Headings end with a colon and each command's text keeps its column, the
    // layout help2man turns into the manual page's sections and entries.
    return usageText() +
           "\n"
           "kirupo-capture renders the frames of the KIRUPO demo exactly: single\n"
           "pictures, numbered frames, a video with the soundtrack, a storyboard, and\n"
           "a timedemo. It runs the demo's own code in a 640x480 window titled KIRUPO\n"
           "and reads every frame it writes back from the window, or for a bigger\n"
           "screen from an image of that size off screen. Like the demo, it\n"
           "loads the data/ that lies beside its own directory, from wherever it is\n"
           "started; output names lead from the working directory. It needs an X\n"
           "display (Xvfb on servers). It plays no sound.\n"
           "\n"
           "Frame schedule:\n"
           "  The engine timer is stopped; before tick i (i = 0, 1, 2, ...) it is set to\n"
           "  1000 + floor(i * 1000 / fps) ms, fps being 60 unless --fps says otherwise\n"
           "  (1 to 1000). Every tick runs exactly as in the demo: the first does not\n"
           "  advance the demo clock, each later one adds the time since the one before.\n"
           "  Frame i is what tick i draws. Frames before the first a command writes\n"
           "  are ticked without being drawn: the demo clock and every effect's state\n"
           "  move on exactly as when drawn. The window's activity is not checked. No\n" +
           std::string(end) +
           "\n"
           "Commands:\n"
           "  frame SECONDS OUT.png   writes the first frame whose demo clock is at least\n"
           "                          SECONDS (read as a 32-bit float) as a 640x480 RGB\n"
           "                          PNG, and names the frame, its demo time and its\n"
           "                          effect on stderr. --effect ID updates that registered\n"
           "                          effect on every tick instead of the timeline's\n"
           "                          choice, from demo time 0 (its own clock starts at its\n"
           "                          first frame); SECONDS may then go past the timeline's\n"
           "                          end, up to 3600.\n"
           "  frames DIR              writes every frame whose demo clock lies from --from\n"
           "                          to --to seconds (default: the whole timeline) as\n"
           "                          DIR/frame-NNNNNN.png, NNNNNN being the frame number\n"
           "                          i. DIR is made when missing.\n"
           "                          frame, frames and bench take --screen WxH (at least\n"
           "                          640x480): the frame as the demo shows it on a screen\n"
           "                          of that size, the 4:3 picture scaled into the largest\n"
           "                          centred rectangle with black bars, the whole screen\n"
           "                          written; --scale sharp (default: whole multiples by\n"
           "                          nearest neighbour, smooth for the rest), smooth\n"
           "                          (bilinear) or integer (the largest whole multiple\n"
           "                          only, centred).\n"
           "  video OUT.mp4           the whole demo, muxed with ../data/stream/kiru.ogg\n"
           "                          (looped as the demo loops it, cut to the demo's\n"
           "                          length; without it the video is silent and says so),\n"
           "                          titled KIRUPO with a chapter for each section: H.264\n"
           "                          yuv420p (x264 " +
           x264Settings() +
           ") and\n"
           "                          AAC at 192 kbit/s, in MP4 (Matroska when OUT ends in\n"
           "                          .mkv). --size H is the frame height, 480, 720, 1080\n"
           "                          (the default), 1440 or 2160, in 16:9 (854x480 to\n"
           "                          3840x2160) with the 4:3 picture centred between black\n"
           "                          bars, scaled by the capture as the demo scales it on\n"
           "                          a screen of that size (--scale as for frame).\n"
           "                          --native keeps 640x480. --lossless writes an archive\n"
           "                          whose frames and sound decode to exactly what was\n"
           "                          captured: FFV1 RGB and FLAC in Matroska (OUT must end\n"
           "                          in .mkv). --from and --to make a clip of the frames\n"
           "                          whose demo clock lies from --from to --to seconds,\n"
           "                          with the soundtrack from the first frame's demo time\n"
           "                          on and the chapters of the sections it shows. Needs\n"
           "                          ffmpeg; shows a progress bar on stderr.\n"
           "  storyboard OUT.png      a contact sheet of the frames every --every seconds\n"
           "                          (default 2.526, one beat pattern) in --columns\n"
           "                          columns (default 4, one section of 10.104 s a row),\n"
           "                          each labelled with its demo time.\n"
           "  bench                   a timedemo: every frame of the timeline drawn as fast\n"
           "                          as the driver goes, each timed from beginScene until\n"
           "                          the GPU has finished endScene. Reports the start-up\n"
           "                          (from the process's start to the end of its first\n"
           "                          frame, step by step, the soundtrack started on a\n"
           "                          silent driver as the demo starts it), the peak\n"
           "                          resident memory, the empty-frame floor and per\n"
           "                          section the frame count, mean, p50, p99 and max frame\n"
           "                          time, the frames over 16.7 ms and the mean as a\n"
           "                          multiple of the floor's, as a table; --json FILE\n"
           "                          writes them as JSON too. --effect ID times that\n"
           "                          registered effect alone, pinned as for frame, over\n"
           "                          the frames of one 10.104 s section.\n"
           "  flashes                 a flash report of the frames from --from to --to\n"
           "                          (default: the whole timeline), drawn as for frames\n"
           "                          and never written: per frame the relative luminance\n"
           "                          (WCAG 2.x, linear light) of every 213x160 region at\n"
           "                          a stride of 8 pixels and of the whole picture; a\n"
           "                          flash is a pair of opposing changes of at least 0.1\n"
           "                          whose darker end is below 0.8, or of the saturated\n"
           "                          red value (R-G-B)x320 by more than 20 where red is\n"
           "                          0.8 of R+G+B. Per section the most general and red\n"
           "                          flashes in any one second, where and when, and\n"
           "                          whether both stay at 3 or fewer, as a table; --json\n"
           "                          FILE writes them as JSON too. A range outside the\n"
           "                          timeline is refused.\n"
           "  effects                 lists the registered effects, one a line by id: the\n"
           "                          id, the start and end of its section on the timeline\n"
           "                          in seconds ('off' twice for an effect the timeline\n"
           "                          never shows, which --effect still shows) and its\n"
           "                          title, separated by tabs. Needs no display.\n"
           "\n"
           "  --gentle (every command that draws) draws the demo's gentle mode, as\n"
           "  kirupo --gentle shows it: no more than three flashes a second.\n"
           "\n"
           "Exit codes:\n"
           "  0 done; 2 bad arguments (with this usage); 1 failure at run time (no\n"
           "  display, a file that cannot be written, ffmpeg missing), each with one\n"
           "  line on stderr. Files are written whole or not at all.\n";
}
