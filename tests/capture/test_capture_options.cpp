// The command line of kirupo-capture: what each command accepts, and the
// command lines it must turn down with a reason.
#include "CaptureErrors.h"
#include "CaptureOptions.h"

#include <gtest/gtest.h>

namespace
{
CaptureOptions parse(std::vector<std::string> args)
{
    return parseArguments(args);
}
} // namespace

TEST(CaptureOptions, FrameTakesSecondsAnOutputAndItsOptionsInAnyOrder)
{
    CaptureOptions o = parse({"frame", "12.5", "out.png"});
    EXPECT_EQ(o.command, Command::Frame);
    EXPECT_EQ(o.seconds, 12.5f);
    EXPECT_EQ(o.output, "out.png");
    EXPECT_EQ(o.fps, 60);
    EXPECT_EQ(o.effectId, 0);

    o = parse({"frame", "--effect", "1300", "10.104", "--fps=5", "x.png"});
    EXPECT_EQ(o.seconds, 10.104f); // the same float the timeline compares with
    EXPECT_EQ(o.fps, 5);
    EXPECT_EQ(o.effectId, 1300);
    EXPECT_EQ(o.output, "x.png");
}

TEST(CaptureOptions, EachOtherCommandReadsItsOwnOptions)
{
    CaptureOptions o = parse({"frames", "dir", "--from", "1.5", "--to", "2"});
    EXPECT_EQ(o.command, Command::Frames);
    EXPECT_EQ(o.output, "dir");
    EXPECT_EQ(o.from, 1.5f);
    EXPECT_EQ(o.to, 2.0f);
    EXPECT_LT(parse({"frames", "dir"}).to, 0.0f); // the end of the timeline

    o = parse({"video", "v.mp4", "--native", "--fps", "30"});
    EXPECT_EQ(o.command, Command::Video);
    EXPECT_TRUE(o.native);
    EXPECT_EQ(o.fps, 30);
    EXPECT_FALSE(parse({"video", "v.mp4"}).native);

    EXPECT_EQ(parse({"video", "v.mp4"}).size, 1080);
    EXPECT_FALSE(parse({"video", "v.mp4"}).lossless);
    for (int height : VIDEO_HEIGHTS)
        EXPECT_EQ(parse({"video", "v.mp4", "--size", std::to_string(height)}).size, height);
    o = parse({"video", "archive.MKV", "--lossless", "--native"});
    EXPECT_TRUE(o.lossless);
    EXPECT_TRUE(o.native);
    EXPECT_EQ(videoWidthFor(480), 854);
    EXPECT_EQ(videoWidthFor(2160), 3840);

    o = parse({"storyboard", "s.png"});
    EXPECT_EQ(o.every, 2.526f);
    EXPECT_EQ(o.columns, 4);
    o = parse({"storyboard", "s.png", "--every", "5", "--columns", "7"});
    EXPECT_EQ(o.every, 5.0f);
    EXPECT_EQ(o.columns, 7);

    EXPECT_EQ(parse({"bench"}).output, "");
    EXPECT_EQ(parse({"bench", "--json", "b.json"}).output, "b.json");

    EXPECT_EQ(parse({"--help"}).command, Command::Help);
    EXPECT_EQ(parse({"frame", "-h"}).command, Command::Help);
    EXPECT_EQ(parse({"help"}).command, Command::Help);
}

TEST(CaptureOptions, NonsenseIsTurnedDownWithAReason)
{
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"film", "x.mp4"},
        {"frame"},
        {"frame", "1"},
        {"frame", "1", "a.png", "b.png"},
        {"frame", "-1", "a.png"},
        {"frame", "ten", "a.png"},
        {"frame", "nan", "a.png"},
        {"frame", "1e9", "a.png"},
        {"frame", "1", "a.png", "--fps"},
        {"frame", "1", "a.png", "--fps", "0"},
        {"frame", "1", "a.png", "--fps", "2.5"},
        {"frame", "1", "a.png", "--fps", "1001"},
        {"frame", "1", "a.png", "--effect", "-3"},
        {"frame", "1", "a.png", "--native"},
        {"frame", "1", ""},
        {"frames", "d", "--from", "5", "--to", "4"},
        {"video", "v.mp4", "--native=yes"},
        {"video", "v.mp4", "--effect", "1000"},
        {"video", "v.mp4", "--size", "1000"},
        {"video", "v.mp4", "--size", "1080p"},
        {"video", "v.mp4", "--size", "1920x1080"},
        {"video", "v.mp4", "--native", "--size", "720"},
        {"video", "v.mp4", "--lossless"},
        {"video", "v.mkv.mp4", "--lossless"},
        {"video", "mkv", "--lossless"},
        {"video", "v.mkv", "--lossless=yes"},
        {"frames", "d", "--size", "720"},
        {"storyboard", "s.png", "--every", "0"},
        {"storyboard", "s.png", "--columns", "0"},
        {"bench", "extra"},
        {"bench", "--json"},
    };
    for (const auto& args : bad)
    {
        std::string line;
        for (const std::string& a : args)
            line += "'" + a + "' ";
        try
        {
            parse(args);
            ADD_FAILURE() << "accepted: " << line;
        }
        catch (const UsageError& e)
        {
            EXPECT_STRNE(e.what(), "") << line;
            EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << "one line: " << e.what();
        }
    }
}

TEST(CaptureOptions, DoubleDashEndsTheOptionsSoANameMayStartWithADash)
{
    const CaptureOptions o = parse({"frame", "--", "1", "-a.png"});
    EXPECT_EQ(o.seconds, 1.0f);
    EXPECT_EQ(o.output, "-a.png");
}

TEST(CaptureOptions, TheOutputIsLedFromTheStartDirectoryOnlyWhenRelative)
{
    CaptureOptions o = parse({"frame", "1", "shots/out.png"});
    EXPECT_EQ(o.outputPath(), "shots/out.png"); // no start directory known
    o.startDirectory = "/home/me/work";
    EXPECT_EQ(o.outputPath(), "/home/me/work/shots/out.png");
    o.startDirectory = "/home/me/work/"; // a trailing separator gives no doubled one
    EXPECT_EQ(o.outputPath(), "/home/me/work/shots/out.png");
    o = parse({"frame", "1", "/tmp/out.png"});
    o.startDirectory = "/home/me/work";
    EXPECT_EQ(o.outputPath(), "/tmp/out.png");
    o = parse({"frame", "1", "../up.png"});
    o.startDirectory = "/home/me/work";
    EXPECT_EQ(o.outputPath(), "/home/me/work/../up.png");
}
