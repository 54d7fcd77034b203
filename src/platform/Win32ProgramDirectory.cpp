#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

void enterProgramDirectory(const char* programName)
{
    std::error_code error;
    // The running .exe's own path; long paths grow the buffer until it fits.
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()))) == name.size())
        name.resize(name.size() * 2);
    if (length == 0)
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
    else
        fs::current_path(fs::path(name.substr(0, length)).parent_path(), error);
    if (error)
        std::fprintf(stderr,
                     "%s: cannot change to its own directory (%s); looking for data beside the working directory\n",
                     programName, error.message().c_str());
    if (!fs::is_directory("../data", error))
    {
        const fs::path here = fs::current_path(error);
        std::fprintf(stderr, "%s: no data directory at %s: no pictures, models or music\n", programName,
                     (here.parent_path() / "data").string().c_str());
    }
}
