#include "platform/ProgramDirectory.h"

#include <windows.h>

#include <string>

std::filesystem::path runningProgramFile(std::error_code& error)
{
    // The running .exe's own path; long paths grow the buffer until it fits.
    std::wstring name(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()))) == name.size())
        name.resize(name.size() * 2);
    if (length == 0)
    {
        error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
        return {};
    }
    error.clear();
    return std::filesystem::path(name.substr(0, length));
}
