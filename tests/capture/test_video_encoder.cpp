// Frames fed straight to the video encoder: players find the title and the
// chapters in both containers.
#include "Chapters.h"
#include "CommandOutput.h"
#include "VideoEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

TEST(VideoEncoder, TitleAndChaptersReachBothContainers)
{
    const std::string ffmpeg = findProgram("ffmpeg");
    if (ffmpeg.empty() || findProgram("ffprobe").empty())
        GTEST_SKIP() << "ffmpeg is not installed";
    // A clip from 15 s to 35 s at 1 fps, and a name ffmpeg's metadata file must escape.
    std::vector<Chapter> chapters = sectionChapters(15.0, 35.0);
    chapters[1].title = "a=b; #c";
    for (const char* name : {"clip.mp4", "clip.mkv"})
    {
        VideoSettings settings;
        settings.fps = 1;
        settings.frames = 20;
        settings.width = 64;
        settings.height = 48;
        settings.container = containerFor(name);
        settings.metadata = ffmetadata(VIDEO_TITLE, chapters);
        settings.output = std::filesystem::temp_directory_path().string() + "/kirupo-encoder-" + name;
        VideoEncoder encoder(ffmpeg, settings);
        for (int frame = 0; frame < settings.frames; ++frame)
        {
            encoder.nextFrame();
            encoder.send();
        }
        encoder.finish();

        const std::string info = commandOutput("ffprobe -v error -show_chapters -show_format -show_streams -of flat '" +
                                               settings.output + "'");
        std::remove(settings.output.c_str());
        SCOPED_TRACE(info);
        auto has = [&](const std::string& line) { return info.find(line + "\n") != std::string::npos; };
        EXPECT_TRUE(has("format.tags.title=\"KIRUPO\"") || has("format.tags.TITLE=\"KIRUPO\""));
        EXPECT_TRUE(has("streams.stream.0.codec_name=\"h264\"") && has("streams.stream.0.width=64"));
        EXPECT_TRUE(has("chapters.chapter.0.start_time=\"0.000000\""));
        EXPECT_TRUE(has("chapters.chapter.0.tags.title=\"" + chapters[0].title + "\""));
        EXPECT_TRUE(has("chapters.chapter.1.start_time=\"5.208000\""));
        EXPECT_TRUE(has("chapters.chapter.1.tags.title=\"a=b; #c\""));
        EXPECT_TRUE(has("chapters.chapter.2.start_time=\"15.312000\""));
        EXPECT_TRUE(has("chapters.chapter.2.end_time=\"20.000000\""));
        EXPECT_FALSE(has("chapters.chapter.3.id=3"));
    }
}
