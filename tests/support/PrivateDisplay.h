#pragma once

#include <string>
#include <sys/types.h>

// A private X server (Xvfb, 1024 x 768 at 24 bits) with a window manager,
// for the whole run of a test program. The servers die with the program even
// when it is killed, and only the process that started them stops them.
//
// The display number is the first free one the server finds, or the first
// free one of KIRUPO_TEST_DISPLAYS ("120-129") when that is set.
class PrivateDisplay
{
public:
    PrivateDisplay() = default;
    ~PrivateDisplay();

    PrivateDisplay(const PrivateDisplay&) = delete;
    PrivateDisplay& operator=(const PrivateDisplay&) = delete;

    // Starts both servers and sets DISPLAY; returns false with a reason.
    bool start(std::string& error);
    void stop();

    const std::string& name() const { return displayName; }

private:
    bool startServer(int displayNumber, std::string& error);
    bool startWindowManager(std::string& error);

    std::string displayName;
    pid_t owner = 0;
    pid_t server = 0;
    pid_t windowManager = 0;
};
