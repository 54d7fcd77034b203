#include "platform/Warning.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>

void warn(const char* format, ...)
{
    // Built whole first, so that the line reaches stderr in one piece.
    char line[512];
    const int prefix = std::snprintf(line, sizeof line, "%s: ", program_invocation_short_name);
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(line + prefix, sizeof line - prefix, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", line);
}
