// Frames fed straight to the video encoder, decoded again by ffmpeg: a
// lossless archive gives back the very pixels, and players find the title
// and the chapters in both containers.
#include "CaptureErrors.h"
#include "Chapters.h"
#include "VideoEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace
{
std::string run(const std::string& command)
{
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r"))
    {
        char buffer[65536];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

// Frames with detail in every channel: noise, sharp edges and a gradient.
RgbImage testFrame(unsigned width, unsigned height, int n)
{
    RgbImage frame(width, height);
    unsigned state = 12345u + static_cast<unsigned>(n) * 7919u;
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
        {
            state = state * 1103515245u + 12345u;
            unsigned char* p = frame.row(y) + x * 3;
            p[0] = static_cast<unsigned char>(state >> 24);
            p[1] = static_cast<unsigned char>((x + y * 3 + n * 40) & 0xff);
            p[2] = (x / 8 + y / 8) % 2 ? 255 : 0;
        }
    return frame;
}

class VideoEncoderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ffmpeg = findProgram("ffmpeg");
        if (ffmpeg.empty() || findProgram("ffprobe").empty())
            GTEST_SKIP() << "ffmpeg is not installed";
        std::string pattern = fs::temp_directory_path().string() + "/kirupo-encoder-XXXXXX";
        directory = mkdtemp(pattern.data());
    }
    void TearDown() override
    {
        if (!directory.empty())
            fs::remove_all(directory);
    }

    void encode(VideoSettings settings, const std::vector<RgbImage>& frames)
    {
        settings.frames = static_cast<int>(frames.size());
        VideoEncoder encoder(ffmpeg, settings);
        for (const RgbImage& frame : frames)
        {
            encoder.nextFrame().pixels = frame.pixels;
            encoder.send();
        }
        encoder.finish();
    }

    std::string probe(const std::string& path, const std::string& what)
    {
        return run("ffprobe -v error " + what + " -of flat '" + path + "'");
    }

    std::string ffmpeg;
    std::string directory;
};

bool has(const std::string& text, const std::string& line)
{
    return text.find(line + "\n") != std::string::npos;
}
} // namespace

TEST_F(VideoEncoderTest, LosslessArchiveDecodesToTheFramesFedInWithItsSoundtrackInFlac)
{
    const std::string soundtrack = directory + "/tone.ogg";
    run("ffmpeg -v error -y -f lavfi -i sine=frequency=440:duration=1 -c:a libvorbis '" + soundtrack + "'");
    std::vector<RgbImage> frames;
    for (int n = 0; n < 3; ++n)
        frames.push_back(testFrame(200, 150, n));
    VideoSettings settings;
    settings.fps = 10;
    settings.width = 200;
    settings.height = 150;
    settings.lossless = true;
    settings.container = Container::Matroska;
    settings.soundtrack = soundtrack;
    settings.output = directory + "/archive.mkv";
    encode(settings, frames);

    const std::string bytes = run("ffmpeg -v error -i '" + settings.output + "' -f rawvideo -pix_fmt rgb24 -");
    const std::vector<unsigned char> decoded(bytes.begin(), bytes.end());
    ASSERT_EQ(decoded.size(), 3u * 200 * 150 * 3);
    for (std::size_t n = 0; n < frames.size(); ++n)
        EXPECT_TRUE(std::equal(frames[n].pixels.begin(), frames[n].pixels.end(),
                               decoded.begin() + static_cast<std::ptrdiff_t>(n * frames[n].pixels.size())))
            << "frame " << n;
    const std::string streams = probe(settings.output, "-show_streams -show_format");
    EXPECT_TRUE(has(streams, "streams.stream.0.codec_name=\"ffv1\"")) << streams;
    EXPECT_TRUE(has(streams, "streams.stream.1.codec_name=\"flac\"")) << streams;
    EXPECT_TRUE(has(streams, "format.format_name=\"matroska,webm\"")) << streams;
}

TEST_F(VideoEncoderTest, TitleAndChaptersReachBothContainers)
{
    // A clip from 15 s to 35 s at 1 fps, and a name ffmpeg's metadata file must escape.
    std::vector<Chapter> chapters = sectionChapters(15.0, 35.0);
    chapters[1].title = "a=b; #c";
    std::vector<RgbImage> frames(20, testFrame(64, 48, 0));
    for (Container container : {Container::Mp4, Container::Matroska})
    {
        VideoSettings settings;
        settings.fps = 1;
        settings.width = 64;
        settings.height = 48;
        settings.container = container;
        settings.metadata = ffmetadata(VIDEO_TITLE, chapters);
        settings.output = directory + (container == Container::Mp4 ? "/clip.mp4" : "/clip.mkv");
        encode(settings, frames);

        const std::string info = probe(settings.output, "-show_chapters -show_format -show_streams");
        SCOPED_TRACE(settings.output + "\n" + info);
        EXPECT_TRUE(has(info, "format.tags.title=\"KIRUPO\"") || has(info, "format.tags.TITLE=\"KIRUPO\""));
        EXPECT_TRUE(has(info, "streams.stream.0.codec_name=\"h264\""));
        EXPECT_TRUE(has(info, "streams.stream.0.width=64"));
        EXPECT_TRUE(has(info, "streams.stream.0.pix_fmt=\"yuv420p\""));
        ASSERT_TRUE(has(info, "chapters.chapter.2.start_time=\"15.312000\""));
        EXPECT_FALSE(has(info, "chapters.chapter.3.id=3"));
        EXPECT_TRUE(has(info, "chapters.chapter.0.start_time=\"0.000000\""));
        EXPECT_TRUE(has(info, "chapters.chapter.0.tags.title=\"" + chapters[0].title + "\""));
        EXPECT_TRUE(has(info, "chapters.chapter.1.start_time=\"5.208000\""));
        EXPECT_TRUE(has(info, "chapters.chapter.1.tags.title=\"a=b; #c\""));
        EXPECT_TRUE(has(info, "chapters.chapter.2.end_time=\"20.000000\""));
    }
}
