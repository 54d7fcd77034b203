#pragma once

#include "Png.h"

#include <sys/types.h>

#include <string>
#include <vector>

struct VideoSettings
{
    int fps = 60;
    int frames = 0;         // the video lasts frames / fps seconds
    bool native = false;    // 640x480 instead of 1920x1080 with the picture centred
    std::string soundtrack; // empty: a silent video
    std::string output;     // the MP4 file ffmpeg writes
};

// The ffmpeg command line for these settings, without the program name: raw
// RGB frames on stdin; the soundtrack looped (as the demo loops its music)
// and cut to the video's length; H.264 yuv420p with BT.709 colours and AAC.
std::vector<std::string> ffmpegArguments(const VideoSettings& settings);

// The full path of a program found on PATH, or "" when there is none.
std::string findProgram(const std::string& name);

// Whether ffmpeg (its full path) decodes the first second of audio in this
// file. A soundtrack that does not would make it refuse the whole video.
bool audioDecodes(const std::string& ffmpeg, const std::string& path);

// ffmpeg encoding frames fed through a pipe.
class VideoEncoder
{
public:
    // Starts ffmpeg (its full path); throws CaptureError when it cannot.
    VideoEncoder(const std::string& ffmpeg, const VideoSettings& settings);
    // Stops an unfinished ffmpeg.
    ~VideoEncoder();

    VideoEncoder(const VideoEncoder&) = delete;
    VideoEncoder& operator=(const VideoEncoder&) = delete;

    // Throws CaptureError with ffmpeg's own complaint when it has stopped.
    void write(const RgbImage& frame);
    // Ends the input and waits for ffmpeg to finish the file.
    void finish();

private:
    [[noreturn]] void fail(const std::string& what);
    int waitForExit();
    std::string lastComplaint() const;

    pid_t pid = -1;
    int input = -1;
    int errors = -1; // ffmpeg's stderr, an unlinked temporary file
};
