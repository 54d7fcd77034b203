#pragma once

#include <stdexcept>
#include <string>

// A command line the tool cannot follow: exit code 2, with the usage.
class UsageError : public std::runtime_error
{
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// A failure while working (no display, a file that cannot be written, ffmpeg
// missing or failing): exit code 1, with one line on stderr.
class CaptureError : public std::runtime_error
{
public:
    explicit CaptureError(const std::string& message) : std::runtime_error(message) {}
};
