// kirupo-capture: the demo's frames, exactly, as pictures, videos, a
// storyboard and a timedemo. See --help.
#include "CaptureErrors.h"
#include "CaptureOptions.h"
#include "Commands.h"
#include "platform/HeapTuning.h"
#include "platform/ProgramDirectory.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

namespace
{
// Both copies of the environment: the C library's and the process's own,
// which SDL may read instead.
void setenv(const char* name, const char* value, int overwrite)
{
    if (!overwrite && GetEnvironmentVariableA(name, nullptr, 0) != 0)
        return;
    SetEnvironmentVariableA(name, value);
    _putenv_s(name, value);
}
} // namespace
#endif

int main(int argc, char** argv)
{
    keepFreedMemoryForReuse();
    // The capture never plays sound: it should not take the sound card either.
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Without a session bus, SDL's start-up has libdbus try to autolaunch one
    // through the X display, which fails on servers and leaks its buffer.
    setenv("DBUS_SESSION_BUS_ADDRESS", "disabled:", 0);
    // A broken pipe to ffmpeg shows as a write error, with ffmpeg's reason.
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN);
#endif
    stopCleanlyOnSignals();
    try
    {
        CaptureOptions options = parseArguments(std::vector<std::string>(argv + 1, argv + argc));
        if (options.command != Command::Help)
        {
            // Output names lead from where the tool was started; the demo's
            // data is found from where the tool lies.
            options.startDirectory = std::filesystem::current_path().string();
            enterProgramDirectory("kirupo-capture");
        }
        return runCommand(options);
    }
    catch (const UsageError& e)
    {
        std::fprintf(stderr, "kirupo-capture: %s\n%s", e.what(), usageText().c_str());
        return 2;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "kirupo-capture: %s\n", e.what());
        return 1;
    }
}
