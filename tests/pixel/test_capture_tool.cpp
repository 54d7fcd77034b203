// kirupo-capture as its users run it: which frame a time picks, that frames
// are exact and repeatable, the timeline's end, exit codes, and what the
// frames, video, storyboard and bench commands write.
#include "CommandOutput.h"
#include "DemoFixture.h"
#include "FlashCounter.h"
#include "LowBandOnsets.h"
#include "PixelTest.h"
#include "Storyboard.h"
#include "demo/EffectDirector.h"
#include "demo/EffectTable.h"
#include "demo/FrameSchedule.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Pixels whose red makes 0.8 or more of R + G + B in linear light: saturated red.
size_t saturatedRedPixels(const Frame& frame)
{
    size_t count = 0;
    for (auto p = frame.rgb.begin(); p + 2 < frame.rgb.end(); p += 3)
        count += FlashCounter::redValue(FlashCounter::linearLight(p[0]), FlashCounter::linearLight(p[1]),
                                        FlashCounter::linearLight(p[2])) > 0;
    return count;
}

// What a run left in a directory: every file but the tree's own program.
std::vector<std::string> filesIn(const std::string& directory)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory))
        if (entry.path().filename() != "kirupo-capture")
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + (text.empty() || text.back() == '\n' ? 0 : 1);
}

// "frame N (demo time T s, effect E) written to ..." on stderr.
struct Written
{
    int frame = -1;
    int effect = 0;
};
Written writtenFrame(const CaptureResult& result)
{
    Written w;
    float time = 0.0f;
    const std::size_t at = result.errors.find("kirupo-capture: frame ");
    if (at == std::string::npos ||
        std::sscanf(result.errors.c_str() + at, "kirupo-capture: frame %d (demo time %f s, effect %d)", &w.frame, &time,
                    &w.effect) != 3)
        return Written();
    return w;
}

// The frame the demo's own director reaches first with a clock of at least
// `seconds`, driving it tick by tick with the schedule's timer readings:
// nothing of the capture tool is used to work it out.
int firstFrameByDirector(float seconds, int fps)
{
    TestDevice* device = TestDevice::create();
    int found = -1;
    {
        DemoContext context(device);
        EffectDirector director;
        director.pin(1600); // never ends the process
        for (int i = 0; i < 100000 && found < 0; ++i)
        {
            device->setTimerMs(1000u + static_cast<irr::u32>(static_cast<long long>(i) * 1000 / fps));
            director.tick();
            if (context.getDemoTime() >= seconds)
                found = i;
        }
    }
    device->drop();
    return found;
}

// One value of ffprobe's flat output, e.g. streams.stream.0.width.
std::string probe(const std::string& text, const std::string& key)
{
    const std::string start = key + "=";
    std::size_t at = text.rfind("\n" + start);
    at = text.compare(0, start.size(), start) == 0 ? 0 : (at == std::string::npos ? at : at + 1);
    if (at == std::string::npos)
        return "";
    std::string value = text.substr(at + start.size(), text.find('\n', at) - at - start.size());
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}
// Frame n of a video, decoded to RGB with the BT.709 matrix it is tagged with
// (a lossless video holds RGB itself).
Frame videoFrame(const std::string& video, int n, unsigned width, unsigned height, bool lossless = false)
{
    const std::string raw = video + ".rgb";
    const std::string toRgb = lossless ? "format=rgb24" : "scale=in_color_matrix=bt709:in_range=tv,format=rgb24";
    commandOutput("ffmpeg -v error -y -i '" + video + "' -vf 'select=eq(n\\," + std::to_string(n) + ")," + toRgb +
                  "' -vframes 1 -f rawvideo '" + raw + "'");
    Frame frame;
    frame.rgb.clear();
    const std::string bytes = readFile(raw);
    std::remove(raw.c_str());
    if (bytes.size() == static_cast<std::size_t>(width) * height * 3)
    {
        frame.width = width;
        frame.height = height;
        frame.rgb.assign(bytes.begin(), bytes.end());
    }
    return frame;
}

// The mean difference between a 640x480 frame and the picture in a bigger
// frame whose top-left corner is at `left`, `top`, enlarged by `scale`:
// each pixel against the middle of its enlarged square.
double pictureDifference(const Frame& big, const Frame& small, unsigned left, unsigned top, double scale)
{
    double sum = 0.0;
    int count = 0;
    for (unsigned y = 0; y < small.height; y += 2)
        for (unsigned x = 0; x < small.width; x += 2, ++count)
        {
            const auto inBig = [&](unsigned v, unsigned origin) {
                return origin + static_cast<unsigned>((v + 0.5) * scale);
            };
            sum += colourDistance(big.at(inBig(x, left), inBig(y, top)), small.at(x, y));
        }
    return count ? sum / count : 255.0;
}

double meanDifference(const Frame& a, const Frame& b)
{
    double sum = 0.0;
    for (std::size_t i = 0; i < a.rgb.size(); ++i)
        sum += std::abs(static_cast<int>(a.rgb[i]) - static_cast<int>(b.rgb[i]));
    return a.rgb.empty() ? 255.0 : sum / static_cast<double>(a.rgb.size());
}

// A video's frames or sound as raw bytes, decoded with these ffmpeg output options.
std::string decoded(const std::string& video, const std::string& options)
{
    const std::string raw = video + ".raw";
    commandOutput("ffmpeg -v error -y -i '" + video + "' " + options + " '" + raw + "'");
    const std::string bytes = readFile(raw);
    std::remove(raw.c_str());
    return bytes;
}

// The frame at `seconds` (10 fps) as the demo shows it on a screen of this size.
Frame captureOnScreen(const TestDataTree& tree, float seconds, const std::string& screen, const std::string& scale)
{
    const CaptureResult result = runCapture(
        tree, {"frame", secondsArgument(seconds), "screen.png", "--fps", "10", "--screen", screen, "--scale", scale});
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    return loadPng(tree.bin() + "/screen.png");
}

struct Area
{
    unsigned left, top, width, height;
};

bool blackOutside(const Frame& screen, const Area& area)
{
    for (unsigned y = 0; y < screen.height; ++y)
        for (unsigned x = 0; x < screen.width; ++x)
        {
            const bool inside = x >= area.left && x < area.left + area.width && y >= area.top &&
                                y < area.top + area.height;
            if (!inside && screen.at(x, y).color != 0xFF000000)
                return false;
        }
    return true;
}

// The picture as it should lie in the area: nearest neighbour by a whole
// factor, then (for a bigger area) bilinear as OpenGL filters, pixel centres
// mapped onto pixel centres.
Frame expectedPicture(const Frame& picture, unsigned factor, const Area& area)
{
    Frame enlarged;
    enlarged.width = picture.width * factor;
    enlarged.height = picture.height * factor;
    enlarged.rgb.resize(static_cast<std::size_t>(enlarged.width) * enlarged.height * 3);
    for (unsigned y = 0; y < enlarged.height; ++y)
        for (unsigned x = 0; x < enlarged.width; ++x)
            for (int c = 0; c < 3; ++c)
                enlarged.rgb[(static_cast<std::size_t>(y) * enlarged.width + x) * 3 + c] =
                    picture.rgb[(static_cast<std::size_t>(y / factor) * picture.width + x / factor) * 3 + c];
    if (enlarged.width == area.width && enlarged.height == area.height)
        return enlarged;

    Frame smooth;
    smooth.width = area.width;
    smooth.height = area.height;
    smooth.rgb.resize(static_cast<std::size_t>(area.width) * area.height * 3);
    auto sample = [&](int x, int y, int c) {
        x = std::clamp(x, 0, static_cast<int>(enlarged.width) - 1);
        y = std::clamp(y, 0, static_cast<int>(enlarged.height) - 1);
        return enlarged.rgb[(static_cast<std::size_t>(y) * enlarged.width + x) * 3 + c];
    };
    for (unsigned y = 0; y < area.height; ++y)
        for (unsigned x = 0; x < area.width; ++x)
        {
            const double u = (x + 0.5) * enlarged.width / area.width - 0.5;
            const double v = (y + 0.5) * enlarged.height / area.height - 0.5;
            const int x0 = static_cast<int>(std::floor(u)), y0 = static_cast<int>(std::floor(v));
            const double fx = u - x0, fy = v - y0;
            for (int c = 0; c < 3; ++c)
            {
                const double top = sample(x0, y0, c) * (1 - fx) + sample(x0 + 1, y0, c) * fx;
                const double bottom = sample(x0, y0 + 1, c) * (1 - fx) + sample(x0 + 1, y0 + 1, c) * fx;
                smooth.rgb[(static_cast<std::size_t>(y) * area.width + x) * 3 + c] = static_cast<unsigned char>(
                    std::lround(top * (1 - fy) + bottom * fy));
            }
        }
    return smooth;
}

// The largest difference of a channel between the screen's area and the expected picture.
int differenceInArea(const Frame& screen, const Area& area, const Frame& expected)
{
    int most = 0;
    for (unsigned y = 0; y < area.height; ++y)
        for (unsigned x = 0; x < area.width; ++x)
            for (int c = 0; c < 3; ++c)
            {
                const int got =
                    screen.rgb[(static_cast<std::size_t>(area.top + y) * screen.width + area.left + x) * 3 + c];
                const int want = expected.rgb[(static_cast<std::size_t>(y) * area.width + x) * 3 + c];
                most = std::max(most, std::abs(got - want));
            }
    return most;
}
} // namespace

TEST(CaptureFrame, PicksTheFirstFrameWhoseDemoClockIsAtLeastTheTime)
{
    TestDataTree tree;
    struct Case
    {
        float seconds;
        int fps;
    };
    // 65 s at 60 fps: the float clock runs behind i / 60, so it is frame 3901.
    for (const Case c : {Case{0.0f, 60}, Case{10.104f, 25}, Case{20.3f, 7}, Case{65.0f, 60}})
    {
        const CaptureResult result = runCapture(
            tree, {"frame", secondsArgument(c.seconds), "out.png", "--fps", std::to_string(c.fps)});
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const Written written = writtenFrame(result);
        const int expected = firstFrameByDirector(c.seconds, c.fps);
        EXPECT_EQ(written.frame, expected) << c.seconds << " s at " << c.fps << " fps: " << result.errors;
        FrameSchedule schedule(c.fps);
        EXPECT_EQ(written.effect, EffectDirector::effectAt(schedule.clockAt(expected))) << result.errors;
        const Frame frame = loadPng(tree.bin() + "/out.png");
        EXPECT_EQ(frame.width, 640u);
        EXPECT_EQ(frame.height, 480u);
    }
}

TEST(CaptureFrame, TheSameCommandTwiceWritesTheSameRgbPngBytes)
{
    TestDataTree tree;
    for (const char* name : {"a.png", "b.png"})
        ASSERT_EQ(runCapture(tree, {"frame", "2.5", name, "--fps", "10"}).exitCode, 0);
    const std::string a = readFile(tree.bin() + "/a.png"), b = readFile(tree.bin() + "/b.png");
    ASSERT_GT(a.size(), 26u);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.substr(1, 3), "PNG");
    EXPECT_EQ(a[25], 2) << "RGB without alpha";
    // Nothing but the picture is left beside it.
    EXPECT_EQ(filesIn(tree.bin()), (std::vector<std::string>{"a.png", "b.png"}));
}

TEST(CaptureFrame, GentleModeChangesOnlyTheSectionsThatFlash)
{
    // One frame inside each section, default and --gentle: the flight (1500),
    // rabbit (1100) and heart (1900) sections draw differently, every other
    // the same; in those three no saturated red is left (the flight's pink
    // and the heart's red are by default).
    TestDataTree tree;
    tree.copyGeneratedAssets();
    const struct
    {
        float seconds;
        bool changed;
    } cases[] = {{5.0f, false}, {15.3f, true}, {25.0f, false}, {40.0f, true}, {55.0f, false}, {65.0f, true}};
    for (const auto& c : cases)
    {
        const std::string at = secondsArgument(c.seconds);
        ASSERT_EQ(runCapture(tree, {"frame", at, "default.png", "--fps", "10"}).exitCode, 0);
        ASSERT_EQ(runCapture(tree, {"frame", at, "gentle.png", "--fps", "10", "--gentle"}).exitCode, 0);
        const Frame normal = loadPng(tree.bin() + "/default.png"), gentle = loadPng(tree.bin() + "/gentle.png");
        ASSERT_TRUE(normal.valid() && gentle.valid());
        keepFrame(gentle, "gentle-" + at);
        EXPECT_EQ(normal.rgb != gentle.rgb, c.changed) << "at " << at << " s";
        EXPECT_TRUE(!c.changed || saturatedRedPixels(gentle) == 0)
            << "at " << at << " s; by default " << saturatedRedPixels(normal) << " saturated red pixels";
    }
}

TEST(CaptureFrame, StopsAtTheTimelinesLastFrameUnlessAnEffectIsPinned)
{
    TestDataTree tree;
    FrameSchedule schedule(2);
    const float last = schedule.clockAt(schedule.timelineFrames() - 1); // 70.5 s
    // The last frame is written (the demo's end would have exited without writing).
    CaptureResult result = runCapture(tree, {"frame", secondsArgument(last), "last.png", "--fps", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(writtenFrame(result).frame, schedule.timelineFrames() - 1);
    EXPECT_EQ(writtenFrame(result).effect, 1900);
    EXPECT_TRUE(loadPng(tree.bin() + "/last.png").valid());

    // A moment later there is no frame of the timeline: a bad argument.
    result = runCapture(tree, {"frame", "70.6", "late.png", "--fps", "2"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.errors.find("Usage:"), std::string::npos) << result.errors;
    EXPECT_FALSE(fs::exists(tree.bin() + "/late.png"));

    // A pinned effect, even one the timeline never selects, goes on.
    result = runCapture(tree, {"frame", "100", "pinned.png", "--fps", "1", "--effect", "1600"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(writtenFrame(result).frame, firstFrameByDirector(100.0f, 1));
    EXPECT_EQ(writtenFrame(result).effect, 1600);
    EXPECT_TRUE(loadPng(tree.bin() + "/pinned.png").valid());

    result = runCapture(tree, {"frame", "1", "none.png", "--effect", "1400"});
    EXPECT_EQ(result.exitCode, 2) << result.errors;
    EXPECT_NE(result.errors.find("1400"), std::string::npos) << result.errors;
    EXPECT_FALSE(fs::exists(tree.bin() + "/none.png"));
}

TEST(CaptureFrame, CaptureFrameHelperGivesAFrameOfAnyEffectTheEffectsCommandLists)
{
    TestDataTree tree;
    // The listing scripts read: a line per effect by id, its section or "off", its title.
    const CaptureResult listing = runCapture(tree, {"effects"}, {{"DISPLAY", ""}});
    EXPECT_EQ(listing.exitCode, 0) << listing.errors;
    EXPECT_EQ(lineCount(listing.output), static_cast<int>(effectTable().size())) << listing.output;
    EXPECT_NE(listing.output.find("1100\t30.312\t50.520\tSpiral stars and the rabbit\n"), std::string::npos);
    EXPECT_NE(listing.output.find("1600\toff\toff\t"), std::string::npos) << listing.output;
    EXPECT_LT(listing.output.find("1000\t"), listing.output.find("2500\t")) << listing.output;

    // Every effect the timeline never shows: watchable only this way.
    for (const EffectRegistration& row : effectTable())
    {
        if (row.onTimeline())
            continue;
        const Frame frame = captureFrame(tree, 3.0f, row.id, 2);
        EXPECT_TRUE(frame.valid()) << row.id;
    }
    EXPECT_EQ(filesIn(tree.root()), (std::vector<std::string>{"bin", "data"})) << "the helper cleans up";
}

TEST(CaptureExitCodes, EachFailureIsOneLineAndLeavesNoFile)
{
    TestDataTree tree;
    CaptureResult result = runCapture(tree, {"frame", "1", "out.png"}, {{"DISPLAY", ""}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lineCount(result.errors), 1) << result.errors;
    EXPECT_NE(result.errors.find("display"), std::string::npos) << result.errors;

    result = runCapture(tree, {"frame", "1", tree.root() + "/no/such/dir/out.png"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lineCount(result.errors), 1) << result.errors;
    EXPECT_NE(result.errors.find("no/such/dir/out.png"), std::string::npos) << result.errors;

    result = runCapture(tree, {"frame", "soon", "out.png"});
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.errors.find("'soon'"), std::string::npos) << result.errors;
    EXPECT_NE(result.errors.find("Usage:"), std::string::npos) << result.errors;

    // Combinations a video cannot have: turned down before any work.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"video", "v.mp4", "--size", "1000"},
          std::vector<std::string>{"video", "v.mp4", "--lossless"}, std::vector<std::string>{"flashes", "--to", "71"},
          std::vector<std::string>{"flashes", "--from", "71"},
          std::vector<std::string>{"flashes", "--from", "5", "--to", "4"}})
    {
        result = runCapture(tree, args);
        EXPECT_EQ(result.exitCode, 2) << args.back();
        EXPECT_EQ(lineCount(result.errors.substr(0, result.errors.find("Usage:"))), 1) << result.errors;
    }

    result = runCapture(tree, {"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.output.find("1000 + floor(i * 1000 / fps)"), std::string::npos) << "the schedule is documented";
    EXPECT_EQ(filesIn(tree.bin()), std::vector<std::string>{});
}

TEST(CaptureData, WithoutADataDirectoryItSaysWhereItLookedAndDrawsAsWithoutAssets)
{
    TestDataTree noData, emptyData;
    noData.remove("data");
    const CaptureResult result = runCapture(noData, {"frame", "25", "out.png", "--fps", "4"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string firstLine = result.errors.substr(0, result.errors.find('\n'));
    EXPECT_EQ(firstLine,
              "kirupo-capture: no data directory at " + noData.root() + "/data: no pictures, models or music");
    EXPECT_EQ(lineCount(result.errors), 2) << "that line and the frame's: " << result.errors;

    const Frame frame = loadPng(noData.bin() + "/out.png");
    ASSERT_TRUE(frame.valid());
    EXPECT_EQ(frame.rgb, captureFrame(emptyData, 25.0f, 0, 4).rgb);
}

TEST(CaptureFrames, WritesEveryFrameOfTheRangeNumberedByFrame)
{
    TestDataTree tree;
    const CaptureResult result = runCapture(tree, {"frames", "shots", "--fps", "10", "--from", "1", "--to", "1.45"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    FrameSchedule schedule(10);
    const int frames = schedule.timelineFrames();
    std::vector<std::string> expected;
    for (int i = schedule.firstFrameAtOrAfter(1.0f, frames); i <= schedule.lastFrameAtOrBefore(1.45f, frames); ++i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06d.png", i);
        expected.push_back(name);
    }
    EXPECT_EQ(expected.size(), 5u);
    EXPECT_EQ(filesIn(tree.bin() + "/shots"), expected);
    for (const std::string& name : expected)
        EXPECT_EQ(loadPng(tree.bin() + "/shots/" + name).width, 640u) << name;
}

// frame and frames skip drawing the frames before the first they write; what
// they write must be what a run that draws every frame draws. Where that can
// break: the opening's star burst late in its section, the flight that
// renders into a texture, the section after it, and late in the timeline.
// FNV-1a of a frame's bytes.
std::uint64_t checksum(const Frame& frame)
{
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (unsigned char byte : frame.rgb)
        hash = (hash ^ byte) * 0x100000001b3u;
    return hash;
}

TEST(CaptureScreens, ThePictureFillsTheLargestCentredRectangleWithBlackBars)
{
    TestDataTree tree;
    tree.copyGeneratedAssets();
    // The second section draws through a render target and back: the screen
    // must come back to the right place in a bigger window.
    const float times[] = {2.0f, 15.0f};
    for (int at = 0; at < 2; ++at)
    {
        const float seconds = times[at];
        const Frame picture = captureFrame(tree, seconds, 0, 10);
        ASSERT_TRUE(picture.valid());
        struct Case
        {
            const char* screen;
            const char* scale;
            Area area;
            unsigned factor; // the whole multiple the picture goes through
            bool exact;      // whole multiples only
            // Smooth steps round as the rasteriser rounds: the checksums of
            // these screens at 2 and 15 s as the scaler drew them into a
            // window of their size (Mesa's llvmpipe, as under Xvfb), which
            // every later way of drawing them must match byte for byte.
            std::uint64_t drawnInAWindow[2];
        };
        const Case cases[] = {
            {"640x480", "sharp", {0, 0, 640, 480}, 1, true, {}},
            {"1280x1024", "sharp", {0, 32, 1280, 960}, 2, true, {}},
            {"1920x1080", "integer", {320, 60, 1280, 960}, 2, true, {}},
            {"3840x2160", "integer", {640, 120, 2560, 1920}, 4, true, {}},
            {"800x600", "integer", {80, 60, 640, 480}, 1, true, {}},
            {"1920x1080", "sharp", {240, 0, 1440, 1080}, 2, false, {0x0da427f679867f93u, 0x705a3c3b66bb6cbdu}},
            {"3840x2160", "sharp", {480, 0, 2880, 2160}, 4, false, {0x39a1ee1695c67870u, 0x4812b8a7041fcd81u}},
            {"800x600", "sharp", {0, 0, 800, 600}, 1, false, {0x78135bef3831ee83u, 0x867e7177a4d2e989u}},
            {"1920x1080", "smooth", {240, 0, 1440, 1080}, 1, false, {0x5eab91e1f14bcbccu, 0x037fdd38038eb329u}},
        };
        for (const Case& c : cases)
        {
            const std::string name = std::string(c.screen) + " " + c.scale + " at " + std::to_string(seconds);
            const Frame screen = captureOnScreen(tree, seconds, c.screen, c.scale);
            ASSERT_TRUE(screen.valid()) << name;
            EXPECT_EQ(std::to_string(screen.width) + "x" + std::to_string(screen.height), c.screen) << name;
            EXPECT_TRUE(blackOutside(screen, c.area)) << name;
            // Smooth steps may round differently by one.
            EXPECT_LE(differenceInArea(screen, c.area, expectedPicture(picture, c.factor, c.area)), c.exact ? 0 : 1)
                << name;
            if (!c.exact)
            {
                EXPECT_EQ(checksum(screen), c.drawnInAWindow[at]) << name;
            }
            keepFrame(screen, "screen-" + std::string(c.screen) + "-" + c.scale);
        }
    }
}

TEST(CaptureFastForward, LateFramesAreThoseOfARunThatDrawsEveryFrame)
{
    TestDataTree tree;
    tree.copyGeneratedAssets();
    // From 0 nothing is skipped: every frame is drawn. At 4 fps the frames
    // are 0.25 s apart: frame 81 is the title pulse's first, after the flight.
    ASSERT_EQ(runCapture(tree, {"frames", "all", "--fps", "4", "--to", "65"}).exitCode, 0);
    ASSERT_EQ(runCapture(tree, {"frames", "part", "--fps", "4", "--from", "20.25", "--to", "20.5"}).exitCode, 0);
    auto written = [&](const std::string& directory, int frame) {
        char name[32];
        std::snprintf(name, sizeof name, "/frame-%06d.png", frame);
        return loadPng(tree.bin() + "/" + directory + name).rgb;
    };
    for (int frame : {81, 82})
        EXPECT_TRUE(written("part", frame) == written("all", frame)) << frame;
    // The star burst late in the opening, the flight that draws into a
    // texture, the title pulse after it, and late in the timeline.
    for (int frame : {34, 60, 81, 260})
        EXPECT_TRUE(captureFrame(tree, frame / 4.0f, 0, 4).rgb == written("all", frame)) << frame;
}

class CaptureVideo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (commandOutput("command -v ffprobe").empty())
            GTEST_SKIP() << "ffprobe is not installed";
    }

    std::string probeFile(const std::string& path)
    {
        return commandOutput("ffprobe -v error -show_streams -show_format -of flat '" + path + "'");
    }

    TestDataTree tree;
};

TEST_F(CaptureVideo, NativeVideoHasTheDemosSizeRateSoundtrackAndLength)
{
    // A three-second soundtrack, looped as the demo loops its music.
    commandOutput("ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=3 -c:a libvorbis '" + tree.root() +
                  "/data/stream/kiru.ogg'");
    ASSERT_TRUE(fs::exists(tree.root() + "/data/stream/kiru.ogg"));
    const CaptureResult result = runCapture(tree, {"video", "demo.mp4", "--native", "--fps", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.errors.find("142/142 frames 100%"), std::string::npos) << "progress: " << result.errors;

    const std::string info = probeFile(tree.bin() + "/demo.mp4");
    EXPECT_EQ(probe(info, "streams.stream.0.codec_name"), "h264") << info;
    EXPECT_EQ(probe(info, "streams.stream.0.width"), "640");
    EXPECT_EQ(probe(info, "streams.stream.0.height"), "480");
    EXPECT_EQ(probe(info, "streams.stream.0.pix_fmt"), "yuv420p");
    EXPECT_EQ(probe(info, "streams.stream.0.r_frame_rate"), "2/1");
    EXPECT_EQ(probe(info, "streams.stream.0.nb_frames"), "142");
    EXPECT_EQ(probe(info, "streams.stream.1.codec_type"), "audio");
    EXPECT_EQ(probe(info, "streams.stream.1.codec_name"), "aac");
    // 142 frames at 2 fps: 71 s, the soundtrack cut (after looping) to match.
    EXPECT_NEAR(std::stod(probe(info, "streams.stream.0.duration")), 71.0, 0.01);
    EXPECT_NEAR(std::stod(probe(info, "streams.stream.1.duration")), 71.0, 0.05);
    EXPECT_EQ(filesIn(tree.bin()), std::vector<std::string>{"demo.mp4"});

    // Video frame 110 is the picture "frame" gives for 55 s at 2 fps, up to
    // what the encoder's chroma subsampling smudges at edges.
    const Frame picture = captureFrame(tree, 55.0f, 0, 2);
    const Frame decoded = videoFrame(tree.bin() + "/demo.mp4", 110, 640, 480);
    ASSERT_TRUE(decoded.valid());
    EXPECT_LT(meanDifference(decoded, picture), 3.0);
    EXPECT_GT(meanDifference(videoFrame(tree.bin() + "/demo.mp4", 20, 640, 480), picture), 10.0)
        << "a frame of another section must not pass for it";
}

// A clip from the middle of the opening: the frames whose demo clock lies in
// [A, B], the stretch of the soundtrack under them, and every flash of the
// bands on a kick drum.
TEST_F(CaptureVideo, AClipKeepsTheOpeningsKicksOnItsFlashes)
{
    tree.copyGeneratedAssets();
    ASSERT_EQ(runCapture(tree, {"video", "clip.mp4", "--native", "--from", "3.4", "--to", "7"}).exitCode, 0);
    FrameSchedule schedule(60);
    const int all = schedule.timelineFrames();
    const int frames = schedule.lastFrameAtOrBefore(7.0f, all) - schedule.firstFrameAtOrAfter(3.4f, all) + 1;
    const std::string info = probeFile(tree.bin() + "/clip.mp4");
    EXPECT_EQ(probe(info, "streams.stream.0.nb_frames"), std::to_string(frames)) << info;
    for (const char* stream : {"streams.stream.0.duration", "streams.stream.1.duration"})
        EXPECT_NEAR(std::stod(probe(info, stream)), 7.0 - 3.4, 1.0 / 60 + 0.01) << stream;
    // One section, one chapter: the clip's own.
    const std::string chapters = commandOutput("ffprobe -v error -show_chapters -of flat '" + tree.bin() +
                                               "/clip.mp4'");
    EXPECT_EQ(probe(chapters, "chapters.chapter.0.start_time"), "0.000000") << chapters;
    EXPECT_EQ(probe(chapters, "chapters.chapter.1.start_time"), "") << chapters;

    const std::string sound = decoded(tree.bin() + "/clip.mp4", "-map 0:a -ac 1 -ar 44100 -f f32le");
    std::vector<float> samples(sound.size() / sizeof(float));
    std::memcpy(samples.data(), sound.data(), samples.size() * sizeof(float));
    const std::vector<double> kicks = lowBandOnsets(samples, 44100);
    ASSERT_FALSE(kicks.empty());
    // While a flash is strong the bands are black: almost no band colour left.
    const std::string video = decoded(
        tree.bin() + "/clip.mp4",
        "-vf scale=160:120:flags=neighbor:in_color_matrix=bt709:in_range=tv,format=rgb24 -f rawvideo");
    auto flashing = [&](int k) {
        int banded = 0;
        for (std::size_t at = std::size_t(k) * 160 * 120 * 3, end = at + 160 * 120 * 3; at < end; at += 3)
        {
            const irr::video::SColor pixel(255, irr::u8(video[at]), irr::u8(video[at + 1]), irr::u8(video[at + 2]));
            banded += colourDistance(pixel, {255, 255, 255, 0}) < 40 || // the even bands
                      colourDistance(pixel, {255, 255, 128, 255}) < 40; // the odd bands
        }
        return banded < 160 * 120 / 20;
    };
    ASSERT_EQ(video.size(), std::size_t(frames) * 160 * 120 * 3);
    int flashes = 0;
    for (int k = 1; k < frames; ++k)
        if (flashing(k) && !flashing(k - 1))
        {
            // The trigger lies within the frame before the flash's first.
            const double t = k / 60.0 - 0.5 / 60;
            const auto nearer = [t](double a, double b) { return std::fabs(a - t) < std::fabs(b - t); };
            const auto nearest = std::min_element(kicks.begin(), kicks.end(), nearer);
            EXPECT_LT(std::fabs(*nearest - t), 0.5 / 60 + 0.005) << "no kick under the flash at clip time " << t;
            ++flashes;
        }
    // At 3.626, 4.416, 5.052, 5.687, 6.147 and 6.937 s; 3.786 and 6.307 fall within a flash.
    EXPECT_EQ(flashes, 6);
}

TEST_F(CaptureVideo, FullHdVideoWithoutSoundtrackIsSilentAndSaysSoAndListsTheSixSections)
{
    const CaptureResult result = runCapture(tree, {"video", "demo.mp4", "--fps", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.errors.find("silent"), std::string::npos) << result.errors;
    const std::string info = probeFile(tree.bin() + "/demo.mp4");
    EXPECT_EQ(probe(info, "streams.stream.0.width"), "1920") << info;
    EXPECT_EQ(probe(info, "streams.stream.0.height"), "1080");
    EXPECT_EQ(probe(info, "streams.stream.0.sample_aspect_ratio"), "1:1");
    EXPECT_EQ(info.find("codec_type=\"audio\""), std::string::npos) << "no audio stream";

    // The title and a chapter for each section, from the start of the video.
    EXPECT_EQ(probe(info, "format.tags.title"), "KIRUPO");
    const std::string chapters = commandOutput("ffprobe -v error -show_chapters -of flat '" + tree.bin() +
                                               "/demo.mp4'");
    const char* starts[] = {"0.000000", "10.104000", "20.208000", "30.312000", "50.520000", "60.624000", ""};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(probe(chapters, "chapters.chapter." + std::to_string(i) + ".start_time"), starts[i]) << chapters;

    // The 4:3 picture fills the middle 1440 columns, black bars beside it.
    const irr::video::SColor middle = captureFrame(tree, 55.0f, 0, 1).at(320, 240);
    const Frame decoded = videoFrame(tree.bin() + "/demo.mp4", 55, 1920, 1080);
    ASSERT_TRUE(decoded.valid());
    const irr::video::SColor black(255, 0, 0, 0);
    for (unsigned y : {10u, 540u, 1070u})
    {
        EXPECT_LE(colourDistance(decoded.at(120, y), black), 2) << y;
        EXPECT_LE(colourDistance(decoded.at(236, y), black), 2) << y;
        EXPECT_LE(colourDistance(decoded.at(960, y), middle), 3) << y;
        EXPECT_LE(colourDistance(decoded.at(1683, y), black), 2) << y;
        EXPECT_LE(colourDistance(decoded.at(1800, y), black), 2) << y;
    }
    EXPECT_GT(colourDistance(middle, black), 50) << "the section at 55 s fills the screen with colour";
}

TEST_F(CaptureVideo, EachSizeCentresThePictureBetweenBlackBars)
{
    // At 55 s the hearts, the cat and the food stand on pink that reaches the
    // picture's edges: the bars begin where it ends.
    tree.copyGeneratedAssets();
    const Frame picture = captureFrame(tree, 55.0f, 0, 1);
    const irr::video::SColor black(255, 0, 0, 0);
    struct Case
    {
        std::string size;
        std::string scale;
        unsigned width, height;
        unsigned left, top; // the picture's corner
        double factor;      // its enlargement
    };
    for (const Case& c :
         {Case{"480", "sharp", 854, 480, 107, 0, 1.0}, Case{"720", "sharp", 1280, 720, 160, 0, 1.5},
          Case{"720", "integer", 1280, 720, 320, 120, 1.0}, Case{"1440", "smooth", 2560, 1440, 320, 0, 3.0},
          Case{"2160", "sharp", 3840, 2160, 480, 0, 4.5}})
    {
        SCOPED_TRACE(c.size + " " + c.scale);
        const std::string video = tree.bin() + "/demo" + c.size + c.scale + ".mp4";
        const CaptureResult result = runCapture(tree,
                                                {"video", video, "--size", c.size, "--scale", c.scale, "--fps", "1"});
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const std::string info = probeFile(video);
        EXPECT_EQ(probe(info, "streams.stream.0.width"), std::to_string(c.width)) << info;
        EXPECT_EQ(probe(info, "streams.stream.0.height"), std::to_string(c.height));
        const Frame decoded = videoFrame(video, 55, c.width, c.height);
        ASSERT_TRUE(decoded.valid());
        keepFrame(decoded, "video-" + c.size + "-" + c.scale);
        // About 2 in place; a picture one pixel of its own off lies above 3.
        EXPECT_LT(pictureDifference(decoded, picture, c.left, c.top, c.factor), 3.0);
        const unsigned right = c.left + static_cast<unsigned>(640 * c.factor);
        const unsigned bottom = c.top + static_cast<unsigned>(480 * c.factor);
        const unsigned quarter = (bottom - c.top) / 4;
        for (unsigned y : {c.top + 4, c.top + quarter, bottom - quarter, bottom - 5})
        {
            EXPECT_LE(colourDistance(decoded.at(c.left - 4, y), black), 2) << y;
            EXPECT_GT(colourDistance(decoded.at(c.left + 4, y), black), 50) << y;
            EXPECT_GT(colourDistance(decoded.at(right - 5, y), black), 50) << y;
            EXPECT_LE(colourDistance(decoded.at(right + 3, y), black), 2) << y;
        }
        if (c.top > 0)
            for (unsigned x : {c.left + 4, c.width / 2, right - 5})
            {
                EXPECT_LE(colourDistance(decoded.at(x, c.top - 4), black), 2) << x;
                EXPECT_LE(colourDistance(decoded.at(x, bottom + 3), black), 2) << x;
            }
        std::remove(video.c_str());
    }
}

TEST_F(CaptureVideo, LosslessArchiveHoldsTheCapturedFramesExactly)
{
    // 640x480: the first frame is the frame command's, byte for byte.
    ASSERT_EQ(runCapture(tree, {"frame", "0", "first.png", "--fps", "1"}).exitCode, 0);
    CaptureResult result = runCapture(tree, {"video", "native.mkv", "--native", "--lossless", "--fps", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Frame first = videoFrame(tree.bin() + "/native.mkv", 0, 640, 480, true);
    ASSERT_TRUE(first.valid());
    EXPECT_EQ(first.rgb, loadPng(tree.bin() + "/first.png").rgb);
    const std::string info = probeFile(tree.bin() + "/native.mkv");
    EXPECT_EQ(probe(info, "streams.stream.0.codec_name"), "ffv1") << info;
    EXPECT_EQ(probe(info, "format.tags.title"), "KIRUPO");

    // Scaled, it holds the very frames the frame command reads from a screen
    // of that size.
    ASSERT_EQ(runCapture(tree, {"frame", "55", "scaled.png", "--fps", "1", "--screen", "1280x720", "--scale", "smooth"})
                  .exitCode,
              0);
    result = runCapture(tree,
                        {"video", "scaled.mkv", "--size", "720", "--scale", "smooth", "--lossless", "--fps", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Frame scaled = videoFrame(tree.bin() + "/scaled.mkv", 55, 1280, 720, true);
    ASSERT_TRUE(scaled.valid());
    EXPECT_EQ(scaled.rgb, loadPng(tree.bin() + "/scaled.png").rgb);
}

TEST_F(CaptureVideo, ASoundtrackFfmpegCannotDecodeGivesASilentVideo)
{
    // ffmpeg refuses a whole video whose audio input it cannot read.
    tree.writeFile("data/stream/kiru.ogg", "OggS" + std::string(20000, '\x5a'));
    const CaptureResult result = runCapture(tree, {"video", "demo.mp4", "--native", "--fps", "1"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.errors.find("cannot be decoded: the video is silent"), std::string::npos) << result.errors;
    EXPECT_EQ(probeFile(tree.bin() + "/demo.mp4").find("codec_type=\"audio\""), std::string::npos) << "no audio stream";
}

TEST_F(CaptureVideo, MissingFfmpegIsTheFirstThingReported)
{
    // No ffmpeg and no display either: ffmpeg is checked before any work.
    const CaptureResult result = runCapture(tree, {"video", "demo.mp4"},
                                            {{"PATH", tree.root() + "/empty"}, {"DISPLAY", ""}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(lineCount(result.errors), 1) << result.errors;
    EXPECT_NE(result.errors.find("ffmpeg"), std::string::npos) << result.errors;
    EXPECT_EQ(filesIn(tree.bin()), std::vector<std::string>{});
}

TEST_F(CaptureVideo, AFailingFfmpegLeavesNoPartialVideo)
{
    // An ffmpeg that starts a file, reads a little and gives up.
    tree.writeFile("fake/ffmpeg", "#!/bin/sh\n"
                                  "for last; do :; done\n"
                                  "echo partial > \"$last\"\n"
                                  "head -c 1000 > /dev/null\n"
                                  "echo 'Conversion failed!' >&2\n"
                                  "exit 1\n");
    chmod((tree.root() + "/fake/ffmpeg").c_str(), 0755);
    const CaptureResult result = runCapture(tree, {"video", "demo.mp4", "--native", "--fps", "1"},
                                            {{"PATH", tree.root() + "/fake:/usr/bin:/bin"}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.errors.find("Conversion failed!"), std::string::npos) << result.errors;
    EXPECT_EQ(filesIn(tree.bin()), std::vector<std::string>{});
}

TEST(CaptureStoryboard, LaysOutOneLabelledThumbnailPerStep)
{
    TestDataTree tree;
    const CaptureResult result = runCapture(tree, {"storyboard", "board.png", "--every", "20", "--columns", "2"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Frame sheet = loadPng(tree.bin() + "/board.png");
    ASSERT_TRUE(sheet.valid());
    Storyboard layout(4, 2); // 0, 20, 40 and 60 s
    EXPECT_EQ(sheet.width, layout.sheet().width);
    EXPECT_EQ(sheet.height, layout.sheet().height);
    const irr::video::SColor ink(255, Storyboard::INK[0], Storyboard::INK[1], Storyboard::INK[2]);
    for (int i = 0; i < 4; ++i)
    {
        int inked = 0;
        for (unsigned y = 0; y < Storyboard::LABEL_HEIGHT; ++y)
            for (unsigned x = 0; x < Storyboard::THUMB_WIDTH; ++x)
                inked += sheet.at(layout.thumbLeft(i) + x, layout.thumbTop(i) + Storyboard::THUMB_HEIGHT + y) == ink;
        EXPECT_GT(inked, 50) << "label " << i;
    }
}

TEST(CaptureBench, ReportsEverySectionWithItsFrameCount)
{
    TestDataTree tree;
    const CaptureResult result = runCapture(tree, {"bench", "--fps", "2", "--json", "bench.json"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_NE(result.output.find("empty frame (floor)"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("whole timeline"), std::string::npos) << result.output;

    // The frames each section shows at 2 fps, worked out from the timeline.
    FrameSchedule schedule(2);
    std::vector<std::pair<int, int>> expected; // effect, frames
    for (int i = 0; i < schedule.timelineFrames(); ++i)
    {
        const int id = EffectDirector::effectAt(schedule.clockAt(i));
        if (expected.empty() || expected.back().first != id)
            expected.push_back({id, 0});
        ++expected.back().second;
    }
    const std::string json = readFile(tree.bin() + "/bench.json");
    std::vector<std::pair<int, int>> reported;
    for (std::size_t at = json.find("\"effect\": "); at != std::string::npos; at = json.find("\"effect\": ", at + 1))
    {
        int id = 0, frames = 0;
        const std::size_t count = json.find("\"frames\": ", at);
        if (std::sscanf(json.c_str() + at, "\"effect\": %d", &id) == 1 && count != std::string::npos &&
            std::sscanf(json.c_str() + count, "\"frames\": %d", &frames) == 1)
            reported.push_back({id, frames});
    }
    EXPECT_EQ(reported, expected) << json;
    EXPECT_NE(json.find("\"empty_frame\": {\"frames\": 300"), std::string::npos) << json;

    // Start-up from the process's start: every step took some time, and the
    // steps add up to the whole.
    double total = 0, process = 0, device = 0, init = 0, music = 0, first = 0;
    const std::size_t startup = json.find("\"startup\": {");
    ASSERT_NE(startup, std::string::npos) << json;
    ASSERT_EQ(std::sscanf(json.c_str() + startup,
                          "\"startup\": {\"total_s\": %lf, \"process_s\": %lf, \"device_s\": %lf, \"init_s\": %lf, "
                          "\"music_s\": %lf, \"first_frame_s\": %lf",
                          &total, &process, &device, &init, &music, &first),
              6)
        << json;
    for (double step : {process, device, init, music, first})
        EXPECT_GT(step, 0.0) << json;
    EXPECT_NEAR(total, process + device + init + music + first, 1e-5) << json;
    EXPECT_LT(total, 60.0) << json;
}

TEST(CaptureBench, AnEffectOnItsOwnIsTimedOverOneSection)
{
    TestDataTree tree;
    const CaptureResult result = runCapture(tree, {"bench", "--fps", "2", "--effect", "1600", "--json", "bench.json"});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string json = readFile(tree.bin() + "/bench.json");
    // Demo times 0, 0.5, ... 10 s: the 21 frames of a 10.104 s section.
    EXPECT_NE(
        json.find("\"sections\": [\n    {\"effect\": 1600, \"from_s\": 0.0000, \"to_s\": 10.0000, \"frames\": 21,"),
        std::string::npos)
        << json;
    EXPECT_EQ(json.find("\"effect\": 1000"), std::string::npos) << json;
    EXPECT_NE(json.find("\"pinned_effect\": 1600"), std::string::npos) << json;
    EXPECT_EQ(runCapture(tree, {"bench", "--effect", "1234"}).exitCode, 2);
}
