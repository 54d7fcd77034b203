#include "VideoEncoder.h"

#include "CaptureErrors.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

extern char** environ;

std::vector<std::string> ffmpegArguments(const VideoSettings& settings)
{
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.6f", static_cast<double>(settings.frames) / settings.fps);
    const std::string fps = std::to_string(settings.fps);

    std::vector<std::string> args = {"-hide_banner", "-loglevel", "error", "-y",
                                     "-f", "rawvideo", "-pixel_format", "rgb24", "-video_size", "640x480",
                                     "-framerate", fps, "-i", "pipe:0"};
    if (!settings.soundtrack.empty())
        args.insert(args.end(), {"-stream_loop", "-1", "-i", settings.soundtrack, "-map", "0:v", "-map", "1:a"});

    // RGB to limited-range BT.709 YUV, tagged as such, so that players show the
    // colours the demo drew.
    const std::string toYuv = "out_color_matrix=bt709:out_range=tv";
    const std::string filter = settings.native ? "scale=640:480:" + toYuv + ",setsar=1"
                                               : "scale=1440:1080:flags=bicubic:" + toYuv +
                                                     ",pad=1920:1080:240:0:black,setsar=1";
    // The encoder takes most of the time: its quickest preset keeps a whole
    // capture well within the demo's own length on two cores, at the cost of
    // larger files, not of quality (the rate factor stays at 18).
    const std::string preset = "ultrafast";
    args.insert(args.end(), {"-vf", filter, "-c:v", "libx264", "-preset", preset, "-crf", "18",
                             "-pix_fmt", "yuv420p", "-color_primaries", "bt709", "-color_trc", "bt709",
                             "-colorspace", "bt709", "-color_range", "tv"});
    if (!settings.soundtrack.empty())
        args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
    if (!settings.soundtrack.empty() && settings.clip.first > 0.0f)
    {
        // A clip hears the soundtrack from its first frame's demo time, cut
        // to the sample from the decoded (looped) stream.
        char trim[64];
        std::snprintf(trim, sizeof trim, "atrim=start=%.6f,asetpts=PTS-STARTPTS",
                      static_cast<double>(settings.clip.first));
        args.insert(args.end(), {"-af", trim});
    }
    args.insert(args.end(), {"-t", duration, "-movflags", "+faststart", "-f", "mp4", settings.output});
    return args;
}

std::string findProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string directories = path ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= directories.size())
    {
        const std::size_t end = std::min(directories.find(':', start), directories.size());
        std::string directory = directories.substr(start, end - start);
        if (directory.empty())
            directory = ".";
        const std::string candidate = directory + "/" + name;
        struct stat info;
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return "";
}

bool audioDecodes(const std::string& ffmpeg, const std::string& path)
{
    std::vector<std::string> texts = {ffmpeg, "-v", "quiet", "-nostdin", "-i", path, "-map", "0:a:0",
                                      "-t", "1", "-f", "null", "-"};
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO})
        posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", O_RDWR, 0);
    pid_t child = -1;
    const int result = posix_spawn(&child, ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

VideoEncoder::VideoEncoder(const std::string& ffmpeg, const VideoSettings& settings)
{
    char errorsPath[] = "/tmp/kirupo-ffmpeg-XXXXXX";
    errors = mkostemp(errorsPath, O_CLOEXEC);
    if (errors < 0)
        throw CaptureError(std::string("cannot make a temporary file for ffmpeg's messages: ") + std::strerror(errno));
    unlink(errorsPath);

    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw CaptureError(std::string("cannot make a pipe to ffmpeg: ") + std::strerror(errno));

    std::vector<std::string> texts = ffmpegArguments(settings);
    texts.insert(texts.begin(), ffmpeg);
    std::vector<char*> argv;
    for (std::string& text : texts)
        argv.push_back(text.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    const int result = posix_spawn(&pid, ffmpeg.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[0]);
    input = fds[1];
    if (result != 0)
    {
        pid = -1;
        throw CaptureError("cannot run " + ffmpeg + ": " + std::strerror(result));
    }
    buffers.assign(QUEUED_FRAMES, RgbImage(640, 480));
    writer = std::thread(&VideoEncoder::writeQueuedFrames, this);
}

VideoEncoder::~VideoEncoder()
{
    // An unfinished video: ffmpeg goes first, so that a write blocked on its
    // pipe fails and the writer ends.
    if (pid > 0)
        kill(pid, SIGTERM);
    stopWriter();
    if (input >= 0)
        close(input);
    if (pid > 0)
        waitForExit();
    if (errors >= 0)
        close(errors);
}

namespace
{
bool writeAll(int fd, const RgbImage& frame)
{
    const unsigned char* p = frame.pixels.data();
    std::size_t left = frame.pixels.size();
    while (left > 0)
    {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // EPIPE: ffmpeg has gone
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}
} // namespace

void VideoEncoder::writeQueuedFrames()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;)
    {
        changed.wait(guard, [this] { return queued > 0 || inputEnds; });
        if (queued == 0)
            return;
        const RgbImage& frame = buffers[oldest];
        guard.unlock(); // the frame's buffer is not handed out again until it is written
        const bool written = writeAll(input, frame);
        guard.lock();
        if (!written)
        {
            pipeBroken = true;
            changed.notify_all();
            return;
        }
        oldest = (oldest + 1) % buffers.size();
        --queued;
        changed.notify_all();
    }
}

void VideoEncoder::stopWriter()
{
    if (!writer.joinable())
        return;
    {
        std::lock_guard<std::mutex> guard(lock);
        inputEnds = true;
    }
    changed.notify_all();
    writer.join();
}

RgbImage& VideoEncoder::nextFrame()
{
    std::unique_lock<std::mutex> guard(lock);
    changed.wait(guard, [this] { return queued < buffers.size() || pipeBroken; });
    if (pipeBroken)
    {
        guard.unlock();
        fail("stopped reading frames");
    }
    return buffers[(oldest + queued) % buffers.size()];
}

void VideoEncoder::send()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        ++queued;
    }
    changed.notify_all();
}

void VideoEncoder::finish()
{
    stopWriter();
    close(input);
    input = -1;
    if (pipeBroken)
        fail("stopped reading frames");
    const int status = waitForExit();
    if (status != 0)
        fail("failed (exit code " + std::to_string(status) + ")");
}

int VideoEncoder::waitForExit()
{
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR)
            break;
    pid = -1;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

void VideoEncoder::fail(const std::string& what)
{
    stopWriter();
    if (input >= 0)
    {
        close(input);
        input = -1;
    }
    if (pid > 0)
        waitForExit();
    const std::string complaint = lastComplaint();
    throw CaptureError("ffmpeg " + what + (complaint.empty() ? "" : ": " + complaint));
}

std::string VideoEncoder::lastComplaint() const
{
    // ffmpeg's last non-empty line says what went wrong.
    std::string text;
    char buffer[4096];
    ssize_t n;
    lseek(errors, 0, SEEK_SET);
    while ((n = read(errors, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<std::size_t>(n));
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    const std::size_t lineStart = text.rfind('\n');
    return lineStart == std::string::npos ? text : text.substr(lineStart + 1);
}
