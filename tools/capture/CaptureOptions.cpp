#include "CaptureOptions.h"

#include "CaptureErrors.h"
#include "FrameSchedule.h"

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
    {"frame", {Command::Frame, {"SECONDS", "OUT.png"}, {"--fps", "--effect"}}},
    {"frames", {Command::Frames, {"DIR"}, {"--fps", "--from", "--to"}}},
    {"video", {Command::Video, {"OUT.mp4"}, {"--fps", "--native"}}},
    {"storyboard", {Command::Storyboard, {"OUT.png"}, {"--every", "--columns"}}},
    {"bench", {Command::Bench, {}, {"--json", "--fps", "--effect"}}},
};

bool takesValue(const std::string& option)
{
    return option != "--native";
}

int parseWhole(const std::string& text, const std::string& what, int min, int max)
{
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max)
        throw UsageError(what + " must be a whole number from " + std::to_string(min) + " to " +
                         std::to_string(max) + ", not '" + text + "'");
    return static_cast<int>(value);
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
        std::snprintf(range, sizeof range, "from %g to %g", static_cast<double>(min),
                      static_cast<double>(MAX_SECONDS));
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
    else if (name == "--every")
        options.every = parseSeconds(value, "--every", MIN_EVERY);
    else if (name == "--columns")
        options.columns = parseWhole(value, "--columns", 1, MAX_COLUMNS);
    else if (name == "--json")
    {
        if (value.empty())
            throw UsageError("--json needs a file name");
        options.output = value;
    }
}
} // namespace

CaptureOptions parseArguments(const std::vector<std::string>& args)
{
    CaptureOptions options;
    for (const std::string& arg : args)
        if (arg == "--help" || arg == "-h")
            return options;
    if (args.empty())
        throw UsageError("no command given");
    if (args[0] == "help")
        return options;
    const auto shape = COMMANDS.find(args[0]);
    if (shape == COMMANDS.end())
        throw UsageError("unknown command '" + args[0] + "'");
    options.command = shape->second.command;

    std::vector<std::string> operands;
    for (std::size_t i = 1; i < args.size(); ++i)
    {
        const std::string& arg = args[i];
        if (arg.rfind("--", 0) != 0)
        {
            operands.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const auto& allowed = shape->second.options;
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end())
            throw UsageError(args[0] + " has no option " + name);
        std::string value;
        if (takesValue(name))
        {
            if (equals != std::string::npos)
                value = arg.substr(equals + 1);
            else if (i + 1 < args.size())
                value = args[++i];
            else
                throw UsageError(name + " needs a value");
        }
        else if (equals != std::string::npos)
            throw UsageError(name + " takes no value");
        applyOption(options, name, value);
    }

    const auto& names = shape->second.operands;
    if (operands.size() < names.size())
        throw UsageError(args[0] + " needs " + names[operands.size()]);
    if (operands.size() > names.size())
        throw UsageError("unexpected argument '" + operands[names.size()] + "'");
    if (options.command == Command::Frame)
    {
        options.seconds = parseSeconds(operands[0], "SECONDS", 0.0f);
        options.output = operands[1];
    }
    else if (!operands.empty())
        options.output = operands[0];
    if (options.output.empty() && options.command != Command::Bench)
        throw UsageError(args[0] + " needs " + names.back() + " to be a name, not empty");
    if (options.command == Command::Frames && options.to >= 0.0f && options.to < options.from)
        throw UsageError("--to must not be before --from");
    return options;
}

std::string usageText()
{
    return "Usage:\n"
           "  kirupo-capture frame SECONDS OUT.png [--fps N] [--effect ID]\n"
           "  kirupo-capture frames DIR [--fps N] [--from S] [--to S]\n"
           "  kirupo-capture video OUT.mp4 [--fps N] [--native]\n"
           "  kirupo-capture storyboard OUT.png [--every S] [--columns N]\n"
           "  kirupo-capture bench [--json FILE] [--fps N] [--effect ID]\n"
           "  kirupo-capture --help\n";
}

std::string helpText()
{
    FrameSchedule schedule;
    const int lastFrame = schedule.timelineFrames() - 1;
    char end[200];
    std::snprintf(end, sizeof end, "  command ticks past the last frame the timeline shows (at 60 fps frame\n  %d, demo time %.3f s), so the demo's own end is never reached.\n",
                  lastFrame, static_cast<double>(schedule.clockAt(lastFrame)));
    return "kirupo-capture renders the frames of the KIRUPO demo exactly: single\n"
           "pictures, numbered frames, a video with the soundtrack, a storyboard, and\n"
           "a timedemo. It runs the demo's own code in a 640x480 window titled KIRUPO\n"
           "and reads every frame it writes back from the window. Run it from a\n"
           "directory beside data/, like the demo; it needs an X display (Xvfb on\n"
           "servers). It plays no sound.\n"
           "\n" +
           usageText() +
           "\n"
           "Frame schedule\n"
           "  The engine timer is stopped; before tick i (i = 0, 1, 2, ...) it is set to\n"
           "  1000 + floor(i * 1000 / fps) ms, fps being 60 unless --fps says otherwise\n"
           "  (1 to 1000). Every tick runs exactly as in the demo: the first does not\n"
           "  advance the demo clock, each later one adds the time since the one before.\n"
           "  Frame i is what tick i draws. The window's activity is not checked. No\n" +
           std::string(end) +
           "\n"
           "Commands\n"
           "  frame SECONDS OUT.png   writes the first frame whose demo clock is at least\n"
           "      SECONDS (read as a 32-bit float) as a 640x480 RGB PNG, and names the\n"
           "      frame, its demo time and its effect on stderr. --effect ID updates that\n"
           "      registered effect on every tick instead of the timeline's choice, from\n"
           "      demo time 0 (its own clock starts at its first frame); SECONDS may then\n"
           "      go past the timeline's end, up to 3600.\n"
           "  frames DIR              writes every frame whose demo clock lies from --from\n"
           "      to --to seconds (default: the whole timeline) as DIR/frame-NNNNNN.png,\n"
           "      NNNNNN being the frame number i. DIR is made when missing.\n"
           "  video OUT.mp4           the whole demo, muxed with ../data/stream/kiru.ogg\n"
           "      (looped as the demo loops it, cut to the demo's length; without it the\n"
           "      video is silent and says so): H.264 yuv420p at 1920x1080 with the 4:3\n"
           "      picture scaled to 1440x1080 and centred, AAC at 192 kbit/s. --native\n"
           "      keeps 640x480. Needs ffmpeg; shows a progress bar on stderr.\n"
           "  storyboard OUT.png      a contact sheet of the frames every --every seconds\n"
           "      (default 2.526, one beat pattern) in --columns columns (default 4, one\n"
           "      section of 10.104 s a row), each labelled with its demo time.\n"
           "  bench                   a timedemo: every frame of the timeline drawn as fast\n"
           "      as the driver goes, each timed from beginScene until the GPU has\n"
           "      finished endScene. Reports the start-up (from the process's start to\n"
           "      the end of its first frame, step by step, the soundtrack started on a\n"
           "      silent driver as the demo starts it), the peak resident memory, the\n"
           "      empty-frame floor and per section the frame count, mean, p50, p99 and\n"
           "      max frame time, the frames over 16.7 ms and the mean as a multiple of\n"
           "      the floor's, as a table; --json FILE writes them as JSON too.\n"
           "      --effect ID times that registered effect alone, pinned as for frame,\n"
           "      over the frames of one 10.104 s section.\n"
           "\n"
           "Exit codes\n"
           "  0 done; 2 bad arguments (with this usage); 1 failure at run time (no\n"
           "  display, a file that cannot be written, ffmpeg missing), each with one\n"
           "  line on stderr. Files are written whole or not at all.\n";
}
