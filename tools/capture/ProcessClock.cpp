#include "ProcessClock.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <sstream>

long long startTicksFromStat(const std::string& statLine)
{
    // The fields after the command name: state is field 3, the start time 22.
    const std::size_t nameEnd = statLine.rfind(')');
    if (nameEnd == std::string::npos)
        return -1;
    std::istringstream fields(statLine.substr(nameEnd + 1));
    std::string field;
    for (int number = 3; fields >> field; ++number)
        if (number == 22)
        {
            char* end = nullptr;
            const long long ticks = std::strtoll(field.c_str(), &end, 10);
            return *end == '\0' ? ticks : -1;
        }
    return -1;
}

#ifdef _WIN32
double secondsSinceProcessStart()
{
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return -1.0;
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](const FILETIME& time) {
        return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    };
    return static_cast<double>(ticks(now) - ticks(created)) / 1e7; // 100 ns ticks
}
#else
double secondsSinceProcessStart()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const long long ticks = startTicksFromStat(line);
    timespec now;
    if (ticks < 0 || clock_gettime(CLOCK_BOOTTIME, &now) != 0)
        return -1.0;
    // The kernel counts a process's start on the boot-time clock.
    return now.tv_sec + now.tv_nsec / 1e9 - static_cast<double>(ticks) / sysconf(_SC_CLK_TCK);
}
#endif
