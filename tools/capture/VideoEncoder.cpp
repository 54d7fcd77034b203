#include "VideoEncoder.h"

#include "CaptureErrors.h"
#include "Yuv420Converter.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Irrlicht's headers make snprintf Windows' _snprintf, which may leave its
// string unterminated: the standard one is meant.
#undef snprintf

extern char** environ;

Container containerFor(const std::string& name)
{
    const std::string mkv = ".mkv";
    const bool matroska = name.size() > mkv.size() &&
                          std::equal(mkv.rbegin(), mkv.rend(), name.rbegin(),
                                     [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    return matroska ? Container::Matroska : Container::Mp4;
}

std::string x264Settings()
{
    return std::string("preset ") + X264_PRESET + (*X264_TUNE ? std::string(", tune ") + X264_TUNE : "") + ", crf " +
           X264_CRF;
}

namespace
{
// The metadata's place on ffmpeg's command line: after the frames.
constexpr int METADATA_FD = 3;

// The black bars around the frames fed in, "" when they fill the video.
std::string barsFilter(const VideoFrame& frame)
{
    if (frame.width == 0)
        return "";
    return "pad=" + std::to_string(frame.width) + ":" + std::to_string(frame.height) + ":" +
           std::to_string(frame.left) + ":" + std::to_string(frame.top) + ":black,";
}
} // namespace

bool convertsToYuv(const VideoSettings& settings)
{
    return !settings.lossless && settings.frame.left % 2 == 0 && settings.frame.top % 2 == 0;
}

namespace
{
// The video's own frame: the bars' frame, or the frames fed in when they fill it.
VideoFrame videoFrameOf(const VideoSettings& settings)
{
    return settings.frame.width ? settings.frame : VideoFrame{settings.width, settings.height, 0, 0};
}
} // namespace

std::vector<std::string> ffmpegArguments(const VideoSettings& settings)
{
    char duration[32];
    std::snprintf(duration, sizeof duration, "%.6f", static_cast<double>(settings.frames) / settings.fps);
    const bool yuv = convertsToYuv(settings);
    // YUV frames come framed by their bars; the others as read back.
    const VideoFrame input = yuv ? videoFrameOf(settings) : VideoFrame{settings.width, settings.height, 0, 0};
    const std::string size = std::to_string(input.width) + "x" + std::to_string(input.height);
    const char* format = yuv ? "yuv420p" : settings.order == GpuImage::Order::Rgba ? "rgba" : "bgra";

    std::vector<std::string> args = {"-hide_banner", "-loglevel", "error",         "-y",
                                     "-f",           "rawvideo",  "-pixel_format", format,
                                     "-video_size",  size,        "-framerate",    std::to_string(settings.fps),
                                     "-i",           "pipe:0"};
    int inputs = 1;
    const int metadataInput = settings.metadata.empty() ? -1 : inputs++;
    if (metadataInput > 0)
        args.insert(args.end(), {"-f", "ffmetadata", "-i", "pipe:" + std::to_string(METADATA_FD)});
    const int soundtrackInput = settings.soundtrack.empty() ? -1 : inputs++;
    if (soundtrackInput > 0)
        args.insert(args.end(), {"-stream_loop", "-1", "-i", settings.soundtrack});
    args.insert(args.end(), {"-map", "0:v"});
    if (soundtrackInput > 0)
        args.insert(args.end(), {"-map", std::to_string(soundtrackInput) + ":a"});
    if (metadataInput > 0)
        args.insert(args.end(),
                    {"-map_metadata", std::to_string(metadataInput), "-map_chapters", std::to_string(metadataInput)});

    if (settings.lossless)
    {
        // Every frame on its own, RGB as it came (bgr0 only reorders the
        // bytes), each slice checked by a CRC: an archive.
        args.insert(args.end(), {"-vf", barsFilter(settings.frame) + "setsar=1", "-c:v", "ffv1", "-level", "3", "-g",
                                 "1", "-slices", "4", "-slicecrc", "1", "-pix_fmt", "bgr0"});
        if (soundtrackInput > 0)
            args.insert(args.end(), {"-c:a", "flac"});
    }
    else
    {
        // RGB to limited-range BT.709 YUV, tagged as such, so that players
        // show the colours the demo drew. The encoder's own converter does
        // it, bars and all, unless the bars would move the picture off the
        // chroma samples' grid of two by two pixels: then ffmpeg adds the
        // bars and converts the whole frame.
        const std::string filters = yuv ? ""
                                        : barsFilter(settings.frame) +
                                              "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p,";
        args.insert(args.end(), {"-vf", filters + "setsar=1", "-c:v", "libx264", "-preset", X264_PRESET, "-crf",
                                 X264_CRF, "-pix_fmt", "yuv420p", "-color_primaries", "bt709", "-color_trc", "bt709",
                                 "-colorspace", "bt709", "-color_range", "tv"});
        if (*X264_TUNE)
            args.insert(args.end(), {"-tune", X264_TUNE});
        if (soundtrackInput > 0)
            args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
    }
    if (soundtrackInput > 0 && settings.clip.first > 0.0f)
    {
        // A clip hears the soundtrack from its first frame's demo time, cut
        // to the sample from the decoded (looped) stream.
        char trim[64];
        std::snprintf(trim, sizeof trim, "atrim=start=%.6f,asetpts=PTS-STARTPTS",
                      static_cast<double>(settings.clip.first));
        args.insert(args.end(), {"-af", trim});
    }
    args.insert(args.end(), {"-t", duration});
    if (settings.container == Container::Matroska)
        args.insert(args.end(), {"-f", "matroska"});
    else
        args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4"});
    args.push_back(settings.output);
    return args;
}

// Running ffmpeg is POSIX's here; Win32VideoEncoder.cpp has the Windows side.
#ifndef _WIN32
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

namespace
{
// A file descriptor the child gets: `parent`'s (none: /dev/null) as its `child`.
struct ChildFd
{
    int child;
    int parent;
};

// Starts the program (its full path) with these arguments and descriptors;
// returns posix_spawn's result, 0 when it runs.
int spawn(const std::string& program, std::vector<std::string> arguments, const std::vector<ChildFd>& fds, pid_t& child)
{
    arguments.insert(arguments.begin(), program);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const ChildFd& fd : fds)
        if (fd.parent < 0)
            posix_spawn_file_actions_addopen(&actions, fd.child, "/dev/null", O_RDWR, 0);
        else
            posix_spawn_file_actions_adddup2(&actions, fd.parent, fd.child);
    const int result = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result;
}
} // namespace

bool audioDecodes(const std::string& ffmpeg, const std::string& path)
{
    pid_t child = -1;
    if (spawn(ffmpeg, {"-v", "quiet", "-nostdin", "-i", path, "-map", "0:a:0", "-t", "1", "-f", "null", "-"},
              {{STDIN_FILENO, -1}, {STDOUT_FILENO, -1}, {STDERR_FILENO, -1}}, child) != 0)
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
    // The metadata is a few hundred bytes: the pipe holds it whole before
    // ffmpeg starts reading.
    int metadataFds[2] = {-1, -1};
    if (!settings.metadata.empty())
    {
        const bool made = pipe2(metadataFds, O_CLOEXEC) == 0;
        const bool passed = made && ::write(metadataFds[1], settings.metadata.data(), settings.metadata.size()) ==
                                        static_cast<ssize_t>(settings.metadata.size());
        for (int fd : {metadataFds[1], passed ? -1 : metadataFds[0], passed ? -1 : fds[0], passed ? -1 : fds[1]})
            if (fd >= 0)
                close(fd);
        if (!passed)
            throw CaptureError("cannot pass the video's title and chapters to ffmpeg");
    }

    std::vector<ChildFd> childFds = {{STDIN_FILENO, fds[0]}, {STDERR_FILENO, errors}};
    if (metadataFds[0] >= 0)
        childFds.push_back({METADATA_FD, metadataFds[0]});
    const int result = spawn(ffmpeg, ffmpegArguments(settings), childFds, pid);
    close(fds[0]);
    if (metadataFds[0] >= 0)
        close(metadataFds[0]);
    input = fds[1];
    if (result != 0)
    {
        pid = -1;
        throw CaptureError("cannot run " + ffmpeg + ": " + std::strerror(result));
    }
    if (convertsToYuv(settings))
    {
        const VideoFrame frame = videoFrameOf(settings);
        converter = std::make_unique<Yuv420Converter>(frame.width, frame.height, frame.left, frame.top);
    }
    buffers.assign(QUEUED_FRAMES, GpuImage(settings.width, settings.height));
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
bool writeAll(int fd, const unsigned char* p, std::size_t left)
{
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

// The rows top first, straight from the frame read back bottom first.
bool writeRowsTopFirst(int fd, const GpuImage& frame)
{
    constexpr unsigned ROWS_A_CALL = 64;
    iovec rows[ROWS_A_CALL];
    for (unsigned y = 0; y < frame.height; y += ROWS_A_CALL)
    {
        const unsigned count = std::min(ROWS_A_CALL, frame.height - y);
        std::size_t bytes = 0;
        for (unsigned i = 0; i < count; ++i)
        {
            rows[i].iov_base = const_cast<unsigned char*>(frame.rowFromTop(y + i));
            rows[i].iov_len = frame.rowBytes();
            bytes += frame.rowBytes();
        }
        const ssize_t n = ::writev(fd, rows, static_cast<int>(count));
        if (n == static_cast<ssize_t>(bytes))
            continue;
        if (n < 0 && errno != EINTR)
            return false;
        // Interrupted or cut short: the rest of these rows one by one.
        std::size_t done = n > 0 ? static_cast<std::size_t>(n) : 0;
        for (unsigned i = 0; i < count; ++i)
        {
            const std::size_t skip = std::min(done, frame.rowBytes());
            done -= skip;
            if (!writeAll(fd, frame.rowFromTop(y + i) + skip, frame.rowBytes() - skip))
                return false;
        }
    }
    return true;
}
} // namespace

bool VideoEncoder::writeFrame(const GpuImage& frame)
{
    if (!converter)
        return writeRowsTopFirst(input, frame);
    const std::vector<unsigned char>& yuv = converter->convert(frame);
    return writeAll(input, yuv.data(), yuv.size());
}

void VideoEncoder::writeQueuedFrames()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;)
    {
        changed.wait(guard, [this] { return queued > 0 || inputEnds; });
        if (queued == 0)
            return;
        const GpuImage& frame = buffers[oldest];
        guard.unlock(); // the frame's buffer is not handed out again until it is written
        const bool written = writeFrame(frame);
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

GpuImage& VideoEncoder::nextFrame()
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
#endif
