#pragma once

#include "GpuImage.h"
#include "platform/DemoGeometry.h"

#include <sys/types.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Yuv420Converter;

// The demo times of a video's first and last frames.
struct ClipRange
{
    float first = 0.0f;
    float last = 0.0f;
};

// The video's frame when it is bigger than the frames fed in: they lie at
// (left, top), and ffmpeg adds the black bars around them.
struct VideoFrame
{
    unsigned width = 0; // 0: the frames fed in are the video's own
    unsigned height = 0;
    unsigned left = 0;
    unsigned top = 0;
};

enum class Container
{
    Mp4,
    Matroska,
};

struct VideoSettings
{
    int fps = 60;
    int frames = 0;                // the video lasts frames / fps seconds
    ClipRange clip;                // the soundtrack starts at clip.first
    unsigned width = SCREEN_WIDTH; // the frames fed in, already scaled
    unsigned height = SCREEN_HEIGHT;
    GpuImage::Order order = GpuImage::Order::Bgra; // their bytes' order
    VideoFrame frame;                              // the video's frame around them, when bigger
    bool lossless = false; // FFV1 RGB and FLAC, which decode to the very pixels and samples fed in
    Container container = Container::Mp4;
    std::string metadata;   // the title and chapters as ffmpeg's metadata file; empty: none
    std::string soundtrack; // empty: a silent video
    std::string output;     // the file ffmpeg writes
};

// x264's settings for the H.264 video, chosen by measurement (see the README):
// the quickest preset that keeps the 1920x1080 video under 80 MB with a
// picture closer to what the demo shows than the old one (x264's quickest
// preset at crf 18 on frames scaled by ffmpeg), and with two thirds of
// the CPU of the next preset. The picture is flat-coloured pixel art: x264's
// psychovisual tuning would spend bits on grain and texture it does not have,
// so the bits go where the error is.
constexpr const char* X264_PRESET = "superfast";
constexpr const char* X264_TUNE = "psnr";
constexpr const char* X264_CRF = "27";
// Those settings in words, for the help.
std::string x264Settings();

// The container a video's file name asks for: Matroska for .mkv, MP4 for
// anything else.
Container containerFor(const std::string& name);

// Whether the encoder converts the frames to the H.264 video's YUV itself,
// bars and all (they lie on the chroma grid), for ffmpeg to encode them as
// they come; otherwise ffmpeg adds the bars and converts the colours.
bool convertsToYuv(const VideoSettings& settings);

// The ffmpeg command line for these settings, without the program name: raw
// frames on stdin (YUV 4:2:0 when convertsToYuv, else the frames as read
// back, rows top first), the metadata (when there is some) on file
// descriptor 3; the soundtrack looped (as the demo loops its music), from
// the clip's first demo time on, and cut to the video's length. H.264
// yuv420p with BT.709 colours and AAC, or when lossless FFV1 RGB and FLAC.
std::vector<std::string> ffmpegArguments(const VideoSettings& settings);

// The full path of a program found on PATH, or "" when there is none.
std::string findProgram(const std::string& name);

// Whether ffmpeg (its full path) decodes the first second of audio in this
// file. A soundtrack that does not would make it refuse the whole video.
bool audioDecodes(const std::string& ffmpeg, const std::string& path);

// ffmpeg encoding frames fed through a pipe. Frames wait in a few buffers of
// the encoder's own while its writer thread converts them (see convertsToYuv)
// and feeds them to ffmpeg, so drawing goes on while ffmpeg encodes and waits
// only when ffmpeg falls a whole queue behind.
class VideoEncoder
{
public:
    // Starts ffmpeg (its full path); throws CaptureError when it cannot.
    VideoEncoder(const std::string& ffmpeg, const VideoSettings& settings);
    // Stops an unfinished ffmpeg.
    ~VideoEncoder();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // The buffer the next frame goes into (the settings' size), free once every
    // frame before it has been written. Throws CaptureError with ffmpeg's own
    // complaint when it has stopped.
    GpuImage& nextFrame();
    // Queues the frame drawn into nextFrame's buffer.
    void send();
    // Ends the input once every queued frame is written and waits for ffmpeg
    // to finish the file.
    void finish();

    static constexpr std::size_t QUEUED_FRAMES = 4;

private:
    void writeQueuedFrames(); // the writer thread
    void stopWriter();
    [[noreturn]] void fail(const std::string& what);
    int waitForExit();
    std::string lastComplaint() const;

    pid_t pid = -1;
    int input = -1;
    int errors = -1; // ffmpeg's stderr, an unlinked temporary file

    bool writeFrame(const GpuImage& frame); // false when ffmpeg has gone

    std::unique_ptr<Yuv420Converter> converter; // none: ffmpeg converts
    std::vector<GpuImage> buffers;              // a ring: `queued` frames from `oldest`
    std::size_t oldest = 0;
    std::size_t queued = 0;
    bool inputEnds = false;  // finish: write what is queued, then stop
    bool pipeBroken = false; // ffmpeg stopped reading
    std::mutex lock;
    std::condition_variable changed;
    std::thread writer;
};
