#include "platform/Warning.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
// The program's name as the user typed it: the C library's on Linux, the
// file name without ".exe" on Windows.
const char* programName()
{
#ifdef _WIN32
    static char name[64] = "";
    if (!name[0] && _pgmptr)
    {
        const char* base = _pgmptr;
        for (const char* c = _pgmptr; *c; ++c)
            if (*c == '\\' || *c == '/')
                base = c + 1;
        std::snprintf(name, sizeof name, "%s", base);
        if (char* extension = std::strrchr(name, '.'))
            *extension = '\0';
    }
    return name;
#else
    return program_invocation_short_name;
#endif
}
} // namespace

void warn(const char* format, ...)
{
    // Built whole first, so that the line reaches stderr in one piece.
    char line[512];
    const int prefix = std::snprintf(line, sizeof line, "%s: ", programName());
    std::va_list args;
    va_start(args, format);
    std::vsnprintf(line + prefix, sizeof line - prefix, format, args);
    va_end(args);
    std::fprintf(stderr, "%s\n", line);
}
