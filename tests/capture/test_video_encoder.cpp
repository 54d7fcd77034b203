// Frames fed straight to the video encoder: players find the title and the
// chapters in both containers, and the frames it converts itself are ffmpeg's.
#include "Chapters.h"
#include "CommandOutput.h"
#include "VideoEncoder.h"
#include "Yuv420Converter.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// The encoder converts the frames of the H.264 video itself, as ffmpeg's
// scale and pad filters did: the same picture gives the very same YUV bytes,
// whichever order the GPU keeps its bytes in, and the bars stay black.
TEST(VideoEncoder, ConvertsFramesToYuvAsFfmpegsFiltersDo)
{
    if (findProgram("ffmpeg").empty())
        GTEST_SKIP() << "ffmpeg is not installed";
    // Hard colour edges, gradients and saturated colours, on a 66 x 48
    // picture (rows of a width that is no multiple of a vector register's),
    // with bars at the sides and with bars above and below.
    const unsigned width = 66, height = 48;
    std::string rgb; // top row first, as ffmpeg read the frames
    GpuImage bgra(width, height), rgba(width, height);
    bgra.order = GpuImage::Order::Bgra;
    rgba.order = GpuImage::Order::Rgba;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
        {
            const unsigned char r = static_cast<unsigned char>(x * 7 + (y / 6) * 40);
            const unsigned char g = static_cast<unsigned char>((x / 4 + y / 4) % 2 ? 255 : y * 5);
            const unsigned char b = static_cast<unsigned char>(x < 33 ? 0 : 255 - x * 3);
            rgb += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
            // Bottom row first; the fourth byte is not the picture's.
            unsigned char* p = bgra.pixels.data() + ((height - 1 - y) * width + x) * 4;
            unsigned char* q = rgba.pixels.data() + ((height - 1 - y) * width + x) * 4;
            p[0] = b, p[1] = g, p[2] = r, p[3] = 17;
            q[0] = r, q[1] = g, q[2] = b, q[3] = 200;
        }
    const std::string base = std::filesystem::temp_directory_path().string() + "/kirupo-yuv";
    std::FILE* file = std::fopen((base + ".rgb").c_str(), "wb");
    ASSERT_TRUE(file);
    std::fwrite(rgb.data(), 1, rgb.size(), file);
    std::fclose(file);
    struct Layout
    {
        unsigned frameWidth, frameHeight, left, top;
    };
    for (const Layout& frame : {Layout{82, 48, 8, 0}, Layout{66, 60, 0, 6}})
    {
        const std::string size = std::to_string(frame.frameWidth) + ":" + std::to_string(frame.frameHeight);
        commandOutput("ffmpeg -v error -y -f rawvideo -pixel_format rgb24 -video_size 66x48 -i '" + base +
                      ".rgb' -vf scale=out_color_matrix=bt709:out_range=tv,format=yuv420p,pad=" + size + ":" +
                      std::to_string(frame.left) + ":" + std::to_string(frame.top) + ":black -f rawvideo '" + base +
                      ".yuv'");
        const std::size_t bytes = frame.frameWidth * frame.frameHeight * 3 / 2;
        std::vector<unsigned char> expected(bytes + 1);
        std::FILE* yuvFile = std::fopen((base + ".yuv").c_str(), "rb");
        ASSERT_TRUE(yuvFile) << size;
        expected.resize(std::fread(expected.data(), 1, expected.size(), yuvFile));
        std::fclose(yuvFile);
        ASSERT_EQ(expected.size(), bytes) << size;

        Yuv420Converter converter(frame.frameWidth, frame.frameHeight, frame.left, frame.top);
        EXPECT_TRUE(converter.convert(bgra) == expected) << size;
        EXPECT_TRUE(converter.convert(rgba) == expected) << size;
    }
    std::remove((base + ".rgb").c_str());
    std::remove((base + ".yuv").c_str());
}

// What ffmpeg is given: YUV frames of the video's whole size when the encoder
// converts them, else the frames as read back, of the picture's size, in
// their own byte order, for ffmpeg to frame and convert.
TEST(VideoEncoder, FfmpegIsToldWhatItIsGiven)
{
    auto input = [](const VideoSettings& settings) {
        const std::vector<std::string> args = ffmpegArguments(settings);
        auto after = [&](const std::string& option) {
            const auto at = std::find(args.begin(), args.end(), option);
            return at != args.end() && at + 1 != args.end() ? *(at + 1) : std::string("none");
        };
        return after("-pixel_format") + " " + after("-video_size") + " " + after("-vf");
    };
    VideoSettings settings;
    settings.width = 1440;
    settings.height = 1080;
    settings.frame = {1920, 1080, 240, 0};
    settings.order = GpuImage::Order::Rgba;
    EXPECT_TRUE(convertsToYuv(settings));
    EXPECT_EQ(input(settings), "yuv420p 1920x1080 setsar=1");
    settings.lossless = true;
    EXPECT_FALSE(convertsToYuv(settings));
    EXPECT_EQ(input(settings), "rgba 1440x1080 pad=1920:1080:240:0:black,setsar=1");
    // Bars off the chroma grid: ffmpeg frames the picture, then converts it.
    settings = VideoSettings();
    settings.frame = {854, 480, 107, 0};
    EXPECT_FALSE(convertsToYuv(settings));
    EXPECT_EQ(input(settings),
              "bgra 640x480 pad=854:480:107:0:black,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p,setsar=1");
}
