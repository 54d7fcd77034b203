#include "PixelTest.h"

#include "platform/DemoGeometry.h"

#include "Png.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace
{
void writeWholeFile(const fs::path& path, const void* data, std::size_t size)
{
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
}

std::string temporaryBase()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}
} // namespace

TestDataTree::TestDataTree()
{
    std::string pattern = temporaryBase() + "/kirupo-tree-XXXXXX";
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary directory: " + std::string(std::strerror(errno)));
    rootPath = fs::canonical(pattern).string();
    for (const char* dir : {"bin", "data/textures", "data/models", "data/stream"})
        fs::create_directories(fs::path(rootPath) / dir);
    // A hard link where it can be (no copying), else a copy; not a symlink,
    // which would lead the program back to build/data.
    const fs::path program = fs::path(bin()) / "kirupo-capture";
    std::error_code linkError;
    fs::create_hard_link(captureProgram(), program, linkError);
    if (linkError)
        fs::copy_file(captureProgram(), program);
}

TestDataTree::~TestDataTree()
{
    std::error_code ignored;
    fs::remove_all(rootPath, ignored);
}

std::string TestDataTree::root() const
{
    return rootPath;
}

std::string TestDataTree::bin() const
{
    return rootPath + "/bin";
}

void TestDataTree::copyGeneratedAssets()
{
    const fs::path generated = KIRUPO_GENERATED_DATA;
    if (!fs::is_directory(generated))
        return;
    fs::copy(generated, fs::path(rootPath) / "data",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

void TestDataTree::writeTexture(const std::string& name, unsigned width, unsigned height, irr::video::SColor colour)
{
    writeTexture(name, width, height, [colour](unsigned, unsigned) { return colour; });
}

void TestDataTree::writeTexture(const std::string& name, unsigned width, unsigned height,
                                const std::function<irr::video::SColor(unsigned x, unsigned y)>& pixel)
{
    std::vector<unsigned char> rgba(static_cast<std::size_t>(width) * height * 4);
    unsigned char* p = rgba.data();
    for (unsigned y = 0; y < height; ++y)
        for (unsigned x = 0; x < width; ++x)
        {
            const irr::video::SColor c = pixel(x, y);
            *p++ = static_cast<unsigned char>(c.getRed());
            *p++ = static_cast<unsigned char>(c.getGreen());
            *p++ = static_cast<unsigned char>(c.getBlue());
            *p++ = static_cast<unsigned char>(c.getAlpha());
        }
    const std::vector<unsigned char> bytes = png::encode(width, height, 4, rgba.data());
    writeWholeFile(fs::path(rootPath) / "data/textures" / name, bytes.data(), bytes.size());
}

void TestDataTree::writeModel(const std::string& name, const std::string& obj, const std::string& mtlName,
                              const std::string& mtl)
{
    writeFile("data/models/" + name, obj);
    if (!mtlName.empty())
        writeFile("data/models/" + mtlName, mtl);
}

void TestDataTree::writeFile(const std::string& relativePath, const std::string& bytes)
{
    writeWholeFile(fs::path(rootPath) / relativePath, bytes.data(), bytes.size());
}

void TestDataTree::remove(const std::string& relativePath)
{
    std::error_code ignored;
    fs::remove_all(fs::path(rootPath) / relativePath, ignored);
}

irr::video::SColor Frame::at(unsigned x, unsigned y) const
{
    if (x >= width || y >= height)
        return irr::video::SColor(0, 0, 0, 0);
    const unsigned char* p = rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
    return irr::video::SColor(255, p[0], p[1], p[2]);
}

bool Frame::valid() const
{
    return width > 0 && height > 0 && rgb.size() == static_cast<std::size_t>(width) * height * 3;
}

void keepFrame(const Frame& frame, const std::string& name)
{
    const char* directory = std::getenv("KIRUPO_KEEP_FRAMES");
    if (!directory || !frame.valid())
        return;
    const std::vector<unsigned char> bytes = png::encode(frame.width, frame.height, 3, frame.rgb.data());
    std::ofstream(std::string(directory) + "/" + name + ".png", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Frame loadPng(const std::string& path)
{
    RgbImage image;
    Frame frame;
    if (!png::decode(path, image))
        return frame;
    frame.width = image.width;
    frame.height = image.height;
    frame.rgb = std::move(image.pixels);
    return frame;
}

namespace
{
// Reads both pipes until the child closes them, so that neither can fill up
// and stall the child.
void drain(int outFd, int errFd, std::string& output, std::string& errors)
{
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* targets[2] = {&output, &errors};
    int open = 2;
    char buffer[65536];
    while (open > 0)
    {
        if (poll(fds, 2, -1) < 0)
        {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i)
        {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR)))
                continue;
            const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0)
                targets[i]->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
            {
                close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}
} // namespace

std::string captureProgram()
{
    return KIRUPO_CAPTURE_PROGRAM;
}

namespace
{
// The child's environment, built before fork: between fork and exec only
// async-signal-safe calls are allowed, and setenv is not one.
std::vector<std::string> childEnvironment(const std::map<std::string, std::string>& overrides)
{
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry; ++entry)
    {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    variables["SDL_AUDIODRIVER"] = "dummy";
    for (const auto& variable : overrides)
    {
        if (variable.second.empty())
            variables.erase(variable.first);
        else
            variables[variable.first] = variable.second;
    }
    std::vector<std::string> entries;
    for (const auto& variable : variables)
        entries.push_back(variable.first + "=" + variable.second);
    return entries;
}

std::vector<char*> pointersTo(std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (std::string& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

CaptureResult runCapture(const TestDataTree& tree, const std::vector<std::string>& args,
                         const std::map<std::string, std::string>& environment)
{
    std::vector<std::string> argTexts = {tree.bin() + "/kirupo-capture"};
    argTexts.insert(argTexts.end(), args.begin(), args.end());
    std::vector<std::string> envTexts = childEnvironment(environment);
    const std::vector<char*> argv = pointersTo(argTexts);
    const std::vector<char*> envp = pointersTo(envTexts);
    const std::string workingDirectory = tree.bin();
    static const char execFailed[] = "kirupo-capture could not be started\n";

    int outPipe[2], errPipe[2];
    if (pipe2(outPipe, O_CLOEXEC) != 0 || pipe2(errPipe, O_CLOEXEC) != 0)
        return {-1, "cannot make pipes: " + std::string(std::strerror(errno)), ""};

    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0)
    {
        dup2(outPipe[1], STDOUT_FILENO);
        dup2(errPipe[1], STDERR_FILENO);
        if (chdir(workingDirectory.c_str()) == 0)
            execve(argv[0], argv.data(), envp.data());
        if (write(STDERR_FILENO, execFailed, sizeof execFailed - 1) < 0)
            _exit(127);
        _exit(127);
    }
    close(outPipe[1]);
    close(errPipe[1]);
    CaptureResult result{-1, "", ""};
    if (pid < 0)
    {
        close(outPipe[0]);
        close(errPipe[0]);
        result.errors = "cannot fork: " + std::string(std::strerror(errno));
        return result;
    }
    drain(outPipe[0], errPipe[0], result.output, result.errors);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR)
    {
    }
    if (WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    else if (WIFSIGNALED(status))
    {
        result.exitCode = 128 + WTERMSIG(status);
        result.errors += "[ended by signal " + std::to_string(WTERMSIG(status)) + "]";
    }
    return result;
}

std::string secondsArgument(float seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(seconds));
    return text;
}

Frame captureFrame(const TestDataTree& tree, float seconds, int effectId, int fps)
{
    static std::atomic<int> counter{0};
    const std::string out = tree.root() + "/frame-" + std::to_string(counter++) + ".png";
    std::vector<std::string> args = {"frame", secondsArgument(seconds), out};
    if (fps != 60)
        args.insert(args.end(), {"--fps", std::to_string(fps)});
    if (effectId != 0)
        args.insert(args.end(), {"--effect", std::to_string(effectId)});

    const CaptureResult result = runCapture(tree, args);
    Frame frame;
    if (result.exitCode != 0)
    {
        std::string command = "kirupo-capture";
        for (const std::string& a : args)
            command += " " + a;
        ADD_FAILURE() << command << " failed with exit code " << result.exitCode << ":\n" << result.errors;
        return frame;
    }
    frame = loadPng(out);
    if (!frame.valid())
        ADD_FAILURE() << "kirupo-capture wrote no readable PNG at " << out;
    std::remove(out.c_str());
    return frame;
}

int colourDistance(irr::video::SColor a, irr::video::SColor b)
{
    const int dr = std::abs(static_cast<int>(a.getRed()) - static_cast<int>(b.getRed()));
    const int dg = std::abs(static_cast<int>(a.getGreen()) - static_cast<int>(b.getGreen()));
    const int db = std::abs(static_cast<int>(a.getBlue()) - static_cast<int>(b.getBlue()));
    return std::max(dr, std::max(dg, db));
}

::testing::AssertionResult colourAt(const Frame& frame, irr::core::vector2di at, irr::video::SColor expected,
                                    int tolerance)
{
    const irr::video::SColor seen = frame.at(static_cast<unsigned>(at.X), static_cast<unsigned>(at.Y));
    if (colourDistance(seen, expected) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "at (" << at.X << ", " << at.Y << ") the colour is " << std::hex
                                         << seen.color << ", not " << expected.color;
}

size_t countNear(const Frame& frame, irr::video::SColor colour, int tolerance)
{
    size_t count = 0;
    for (unsigned y = 0; y < frame.height; ++y)
        for (unsigned x = 0; x < frame.width; ++x)
            count += colourDistance(frame.at(x, y), colour) <= tolerance;
    return count;
}

irr::core::vector2df onScreen(const irr::core::matrix4& view, irr::core::vector3df point)
{
    view.transformVect(point);
    float clip[4];
    demoProjection().transformVect(clip, point);
    return irr::core::vector2df(SCREEN_WIDTH / 2 * (1 + clip[0] / clip[3]),
                                SCREEN_HEIGHT / 2 * (1 - clip[1] / clip[3]));
}
