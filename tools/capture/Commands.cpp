#include "Commands.h"

#include "BenchReport.h"
#include "CaptureErrors.h"
#include "CaptureSession.h"
#include "Chapters.h"
#include "FlashAnalysis.h"
#include "OutputFile.h"
#include "Png.h"
#include "Progress.h"
#include "Storyboard.h"
#include "VideoEncoder.h"
#include "demo/EffectDirector.h"
#include "demo/EffectTable.h"
#include "demo/FrameSchedule.h"

#ifdef _WIN32
#include <windows.h>

#include <psapi.h> // after windows.h, whose types it uses
#else
#include <sys/resource.h>
#endif
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace
{
volatile std::sig_atomic_t stopSignal = 0;

void rememberSignal(int signal)
{
    stopSignal = signal;
}

void stopIfAsked()
{
    if (stopSignal)
        throw CaptureError(std::string("stopped by ") + (stopSignal == SIGINT ? "SIGINT" : "SIGTERM") +
                           "; nothing was written");
}

void say(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fputs("kirupo-capture: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputc('\n', stderr);
    va_end(args);
}

std::string seconds(float value, int decimals = 3)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, static_cast<double>(value));
    return text;
}

// The effect a frame shows: the pinned one, or the timeline's choice.
irr::s32 effectShown(int pinnedId, float clock)
{
    return pinnedId != 0 ? pinnedId : EffectDirector::effectAt(clock);
}

std::string pastTheEnd(FrameSchedule& schedule)
{
    const int last = schedule.timelineFrames() - 1;
    return "the timeline's last frame is " + std::to_string(last) + " at " + seconds(schedule.clockAt(last)) + " s (" +
           std::to_string(schedule.fps()) + " fps)";
}

// The session's clock must be the one the schedule worked out, or the wrong
// frame would be written under the right name.
void checkClock(const CaptureSession& session, FrameSchedule& schedule, int frame)
{
    if (session.demoTime() != schedule.clockAt(frame))
        throw CaptureError("frame " + std::to_string(frame) + " has demo time " + seconds(session.demoTime(), 6) +
                           " s, not the scheduled " + seconds(schedule.clockAt(frame), 6) + " s");
}

int captureOneFrame(const CaptureOptions& options)
{
    FrameSchedule schedule(options.fps);
    // A pinned effect may run past the timeline; the clock gains at least
    // about 1/fps a frame, so a second more of frames always reaches SECONDS.
    const int limit = options.effectId != 0 ? static_cast<int>(std::ceil(options.seconds * options.fps)) + options.fps
                                            : schedule.timelineFrames();
    const int target = schedule.firstFrameAtOrAfter(options.seconds, limit);
    if (target < 0)
        throw UsageError("SECONDS " + seconds(options.seconds) + " is past the end: " + pastTheEnd(schedule) +
                         "; with --effect ID a frame may lie further");

    OutputFile out(options.outputPath(), options.output);
    CaptureSession session(options.screen, options.scale);
    session.setGentle(options.gentle);
    if (options.effectId != 0 && !session.pin(options.effectId))
        throw UsageError("--effect " + std::to_string(options.effectId) + ": no effect has this id");
    RgbImage picture;
    session.skipTo(schedule, target);
    stopIfAsked();
    session.drawFrameAt(schedule.timerMs(target), &picture);
    checkClock(session, schedule, target);
    out.write(png::encode(picture, 6));
    out.commit();
    say("frame %d (demo time %s s, effect %d) written to %s", target, seconds(schedule.clockAt(target), 4).c_str(),
        effectShown(options.effectId, schedule.clockAt(target)), options.output.c_str());
    return 0;
}

void makeDirectory(const std::string& directory, const std::string& shownAs)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (error)
        throw CaptureError("cannot make " + shownAs + ": " + error.message());
    if (access(directory.c_str(), W_OK) != 0)
        throw CaptureError("cannot write into " + shownAs + ": " + std::strerror(errno));
}

// The frames whose demo clock lies from --from to --to (the timeline's end
// when not given), first and last included.
struct FrameRange
{
    int first;
    int last;
};

FrameRange framesFromTo(const CaptureOptions& options, FrameSchedule& schedule)
{
    const int frames = schedule.timelineFrames();
    const int first = schedule.firstFrameAtOrAfter(options.from, frames);
    if (first < 0)
        throw UsageError("--from " + seconds(options.from) + " is past the end: " + pastTheEnd(schedule));
    const int last = options.to < 0.0f ? frames - 1 : schedule.lastFrameAtOrBefore(options.to, frames);
    if (last < first)
        throw UsageError("no frame has a demo time from " + seconds(options.from) + " to " + seconds(options.to) +
                         " s at " + std::to_string(options.fps) + " fps");
    return {first, last};
}

// Draws the frames from first to last into picture, with their progress
// shown, and hands each to `use` once it is drawn and its clock checked.
template <typename Use>
void drawFrames(CaptureSession& session, FrameSchedule& schedule, int first, int last, RgbImage& picture, Use use)
{
    Progress progress(last - first + 1);
    session.skipTo(schedule, first);
    for (int frame = first; frame <= last; ++frame)
    {
        stopIfAsked();
        session.drawFrameAt(schedule.timerMs(frame), &picture);
        checkClock(session, schedule, frame);
        use(frame);
        progress.frameDone();
    }
    progress.finish();
}

int captureFrameRange(const CaptureOptions& options)
{
    FrameSchedule schedule(options.fps);
    const auto [first, last] = framesFromTo(options, schedule);

    makeDirectory(options.outputPath(), options.output);
    CaptureSession session(options.screen, options.scale);
    session.setGentle(options.gentle);
    RgbImage picture;
    drawFrames(session, schedule, first, last, picture, [&](int frame) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
        OutputFile out(options.outputPath() + name, options.output + name);
        out.write(png::encode(picture));
        out.commit();
    });
    say("%d frames (%d to %d, demo time %s to %s s) written to %s", last - first + 1, first, last,
        seconds(schedule.clockAt(first)).c_str(), seconds(schedule.clockAt(last)).c_str(), options.output.c_str());
    return 0;
}

constexpr const char* SOUNDTRACK = "../data/stream/kiru.ogg";

// The size of a video's frames: 640x480, or the 16:9 frame of its height.
irr::core::dimension2du videoFrameSize(const CaptureOptions& options)
{
    if (options.native)
        return {SCREEN_WIDTH, SCREEN_HEIGHT};
    return {static_cast<irr::u32>(videoWidthFor(options.size)), static_cast<irr::u32>(options.size)};
}

int captureVideo(const CaptureOptions& options)
{
    const std::string ffmpeg = findProgram("ffmpeg");
    if (ffmpeg.empty())
        throw CaptureError("ffmpeg is not installed (not found on PATH); it is needed to make a video");

    FrameSchedule schedule(options.fps);
    const auto [first, last] = framesFromTo(options, schedule);
    // The frames come from the screen the demo would show them on: the
    // picture's own area of it, which the demo's scaler fills off screen
    // exactly as on the whole screen, and black bars around it that the
    // encoder adds (no drawing or reading back of black).
    const irr::core::dimension2du frameSize = videoFrameSize(options);
    const irr::core::recti area = PictureLayout::of(frameSize, options.scale).area;
    const irr::core::dimension2du pictureSize(static_cast<irr::u32>(area.getWidth()),
                                              static_cast<irr::u32>(area.getHeight()));
    VideoSettings settings;
    settings.fps = options.fps;
    settings.frames = last - first + 1;
    settings.clip = {schedule.clockAt(first), schedule.clockAt(last)};
    settings.width = pictureSize.Width;
    settings.height = pictureSize.Height;
    if (pictureSize != frameSize)
        settings.frame = {frameSize.Width, frameSize.Height, static_cast<unsigned>(area.UpperLeftCorner.X),
                          static_cast<unsigned>(area.UpperLeftCorner.Y)};
    settings.lossless = options.lossless;
    settings.container = containerFor(options.output);
    // The last frame lasts 1 / fps: the chapters run to the video's end.
    const double endTime = settings.clip.last + 1.0 / options.fps;
    settings.metadata = ffmetadata(VIDEO_TITLE, sectionChapters(settings.clip.first, endTime));
    struct stat soundtrack;
    if (stat(SOUNDTRACK, &soundtrack) != 0 || !S_ISREG(soundtrack.st_mode))
        say("no soundtrack at %s: the video is silent", SOUNDTRACK);
    else if (!audioDecodes(ffmpeg, SOUNDTRACK))
        say("the soundtrack %s cannot be decoded: the video is silent", SOUNDTRACK);
    else
        settings.soundtrack = SOUNDTRACK;

    OutputFile out(options.outputPath(), options.output);
    settings.output = out.temporaryPath();
    CaptureSession session(pictureSize, options.scale);
    session.setGentle(options.gentle);
    settings.order = session.readOrder();
    VideoEncoder encoder(ffmpeg, settings);
    Progress progress(settings.frames);
    session.skipTo(schedule, first);
    for (int frame = first; frame <= last; ++frame)
    {
        stopIfAsked();
        session.drawFrameAt(schedule.timerMs(frame), encoder.nextFrame());
        encoder.send();
        progress.frameDone();
    }
    progress.finish();
    checkClock(session, schedule, last);
    encoder.finish();
    out.commit();
    say("%s written: %d frames at %d fps (%s s, demo time %s to %s s), %ux%u%s, %s", options.output.c_str(),
        settings.frames, options.fps, seconds(static_cast<float>(settings.frames) / options.fps).c_str(),
        seconds(settings.clip.first).c_str(), seconds(settings.clip.last).c_str(), frameSize.Width, frameSize.Height,
        settings.lossless ? " lossless" : "", settings.soundtrack.empty() ? "silent" : "with the soundtrack");
    return 0;
}

int captureStoryboard(const CaptureOptions& options)
{
    FrameSchedule schedule;
    const int frames = schedule.timelineFrames();
    std::vector<int> shown;
    for (int k = 0;; ++k)
    {
        const float time = static_cast<float>(k * static_cast<double>(options.every));
        const int frame = schedule.firstFrameAtOrAfter(time, frames);
        if (frame < 0)
            break;
        shown.push_back(frame);
    }

    OutputFile out(options.outputPath(), options.output);
    CaptureSession session;
    session.setGentle(options.gentle);
    Storyboard board(static_cast<int>(shown.size()), options.columns);
    RgbImage picture;
    for (std::size_t i = 0; i < shown.size(); ++i)
    {
        stopIfAsked();
        const int frame = shown[i];
        session.skipTo(schedule, frame);
        session.drawFrameAt(schedule.timerMs(frame), &picture);
        checkClock(session, schedule, frame);
        board.place(static_cast<int>(i), picture, seconds(schedule.clockAt(frame)) + " s");
    }
    out.write(png::encode(board.sheet(), 9));
    out.commit();
    say("storyboard of %zu frames, every %s s, written to %s", shown.size(), seconds(options.every).c_str(),
        options.output.c_str());
    return 0;
}

// A pinned effect is timed over as many frames as one section of the
// timeline shows.
constexpr float SECTION_SECONDS = 10.104f;

#ifdef _WIN32
double peakResidentMegabytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return 0.0;
    return counters.PeakWorkingSetSize / (1024.0 * 1024.0);
}
#else
double peakResidentMegabytes()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0; // kilobytes on Linux
}
#endif

int benchmark(const CaptureOptions& options)
{
    FrameSchedule schedule(options.fps);
    const int frames = options.effectId != 0
                           ? schedule.lastFrameAtOrBefore(SECTION_SECONDS, schedule.timelineFrames()) + 1
                           : schedule.timelineFrames();
    std::unique_ptr<OutputFile> json;
    if (!options.output.empty())
        json = std::make_unique<OutputFile>(options.outputPath(), options.output);

    // Start-up as the demo goes through it: window, loading, music, first frame.
    CaptureSession session(options.screen, options.scale);
    session.setGentle(options.gentle);
    if (options.effectId != 0 && !session.pin(options.effectId))
        throw UsageError("--effect " + std::to_string(options.effectId) + ": no effect has this id");
    BenchReport report;
    report.fps = options.fps;
    report.pinnedEffect = options.effectId;
    report.startup.process = session.processSeconds();
    report.startup.device = session.deviceSeconds();
    report.startup.init = session.initSeconds();
    report.startup.music = session.startMusic();
    std::vector<double> times;
    std::vector<irr::s32> effects;
    std::vector<float> clocks;
    auto timeFrame = [&](int frame) {
        times.push_back(session.drawFrameAt(schedule.timerMs(frame), nullptr, true));
        clocks.push_back(session.demoTime());
        effects.push_back(effectShown(options.effectId, clocks.back()));
    };
    timeFrame(0);
    report.startup.firstFrame = times.back() / 1000.0;

    // The first frames of a fresh window are slow (buffers, shaders); they
    // are drawn before the floor is timed.
    constexpr int WARM_UP_FRAMES = 30;
    for (int i = 0; i < WARM_UP_FRAMES; ++i)
        session.drawEmptyFrame();
    constexpr int EMPTY_FRAMES = 300;
    std::vector<double> empty;
    for (int i = 0; i < EMPTY_FRAMES; ++i)
    {
        stopIfAsked();
        empty.push_back(session.drawEmptyFrame());
    }
    report.emptyFrame = FrameTimes::of(empty);

    Progress progress(frames);
    progress.frameDone();
    for (int frame = 1; frame < frames; ++frame)
    {
        stopIfAsked();
        timeFrame(frame);
        progress.frameDone();
    }
    progress.finish();
    report.sections = groupBySection(effects, clocks, times);
    report.whole = FrameTimes::of(times);
    report.peakMegabytes = peakResidentMegabytes();

    std::fputs(report.table().c_str(), stdout);
    if (json)
    {
        json->write(report.json());
        json->commit();
    }
    return 0;
}
int analyseFlashes(const CaptureOptions& options)
{
    FrameSchedule schedule(options.fps);
    const float end = schedule.clockAt(schedule.timelineFrames() - 1);
    if (options.to > end)
        throw UsageError("--to " + seconds(options.to) + " is past the end: " + pastTheEnd(schedule));
    const auto [first, last] = framesFromTo(options, schedule);
    std::unique_ptr<OutputFile> json;
    if (!options.output.empty())
        json = std::make_unique<OutputFile>(options.outputPath(), options.output);

    CaptureSession session;
    session.setGentle(options.gentle);
    FlashAnalysis analysis(options.fps);
    RgbImage picture;
    drawFrames(session, schedule, first, last, picture, [&](int frame) {
        analysis.addFrame(picture, schedule.clockAt(frame), EffectDirector::effectAt(schedule.clockAt(frame)));
    });
    std::fputs(analysis.table().c_str(), stdout);
    if (json)
    {
        json->write(analysis.json());
        json->commit();
    }
    return 0;
}

// The effect table, for people and for scripts: tests and reports read the
// effects from here instead of keeping lists of their own.
int listEffects()
{
    std::vector<const EffectRegistration*> rows;
    for (const EffectRegistration& row : effectTable())
        rows.push_back(&row);
    std::sort(rows.begin(), rows.end(), [](const auto* a, const auto* b) { return a->id < b->id; });
    for (const EffectRegistration* row : rows)
    {
        const auto& sections = timelineSections();
        const auto section = std::find_if(sections.begin(), sections.end(),
                                          [row](const TimelineSection& s) { return s.effect == row; });
        if (section == sections.end())
            std::printf("%d\toff\toff\t%s\n", row->id, row->title);
        else
            std::printf("%d\t%.3f\t%.3f\t%s\n", row->id, static_cast<double>(section->start),
                        static_cast<double>(section->end), row->title);
    }
    return 0;
}
} // namespace

void stopCleanlyOnSignals()
{
    std::signal(SIGINT, rememberSignal);
    std::signal(SIGTERM, rememberSignal);
}

int runCommand(const CaptureOptions& options)
{
    switch (options.command)
    {
    case Command::Help:
        std::fputs(helpText().c_str(), stdout);
        return 0;
    case Command::Frame:
        return captureOneFrame(options);
    case Command::Frames:
        return captureFrameRange(options);
    case Command::Video:
        return captureVideo(options);
    case Command::Storyboard:
        return captureStoryboard(options);
    case Command::Bench:
        return benchmark(options);
    case Command::Flashes:
        return analyseFlashes(options);
    case Command::Effects:
        return listEffects();
    }
    return 2;
}
