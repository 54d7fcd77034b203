#pragma once

#include <string>

// Seconds since this process started, by the kernel's record of its start
// (kept in clock ticks of 10 ms, so the figure may be up to one tick high).
// Negative when the record cannot be read.
double secondsSinceProcessStart();

// The start time, in clock ticks since boot, from a line of /proc/PID/stat;
// -1 when the line has no such field. The command name in parentheses may
// itself hold spaces and parentheses.
long long startTicksFromStat(const std::string& statLine);
