#include "Progress.h"

#include <unistd.h>

#include <cmath>

Progress::Progress(int totalFrames, std::FILE* stream)
    : total(totalFrames), stream(stream), terminal(isatty(fileno(stream)) != 0),
      start(std::chrono::steady_clock::now()), lastShown(start)
{
}

std::string Progress::describe(int done, int total, double elapsedSeconds)
{
    const double fraction = total > 0 ? static_cast<double>(done) / total : 1.0;
    constexpr int WIDTH = 30;
    const int filled = static_cast<int>(fraction * WIDTH);
    const std::string bar = std::string(static_cast<std::size_t>(filled), '#') +
                            std::string(static_cast<std::size_t>(WIDTH - filled), '.');
    const double fps = elapsedSeconds > 0.0 ? done / elapsedSeconds : 0.0;
    char left[32] = "--:--";
    if (fps > 0.0)
    {
        const long seconds = std::lround((total - done) / fps);
        std::snprintf(left, sizeof left, "%ld:%02ld", seconds / 60, seconds % 60);
    }
    char text[160];
    std::snprintf(text, sizeof text, "[%s] %d/%d frames %3d%%  %.1f fps  %s left", bar.c_str(), done, total,
                  static_cast<int>(fraction * 100.0), fps, left);
    return text;
}

void Progress::frameDone()
{
    ++done;
    const auto now = std::chrono::steady_clock::now();
    if (terminal)
    {
        if (now - lastShown >= std::chrono::milliseconds(200))
        {
            lastShown = now;
            show();
        }
    }
    else if (total > 0 && done * 10 / total > shownTenths)
        show();
}

void Progress::finish()
{
    if (terminal || shownDone != done)
        show();
    if (terminal)
        std::fputc('\n', stream);
    std::fflush(stream);
}

void Progress::show()
{
    const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string text = describe(done, total, elapsed);
    if (terminal)
        std::fprintf(stream, "\r%s", text.c_str());
    else
        std::fprintf(stream, "%s\n", text.c_str());
    shownDone = done;
    if (total > 0)
        shownTenths = done * 10 / total;
    std::fflush(stream);
}
