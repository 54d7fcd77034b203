#pragma once

#include <chrono>
#include <cstdio>
#include <string>

// A progress bar on stderr for long captures: frames done, percent, frames
// per second and time left. On a terminal it redraws one line a few times a
// second; into a file or pipe it writes a line every tenth of the way.
class Progress
{
public:
    Progress(int totalFrames, std::FILE* stream = stderr);

    void frameDone();
    // Ends the bar with its final state.
    void finish();

    // The bar's text for a state, without the line control.
    static std::string describe(int done, int total, double elapsedSeconds);

private:
    void show();

    int total;
    int done = 0;
    std::FILE* stream;
    bool terminal;
    int shownTenths = 0;
    int shownDone = -1;
    std::chrono::steady_clock::time_point start;
    std::chrono::steady_clock::time_point lastShown;
};
