#include "platform/ProgramDirectory.h"

std::filesystem::path runningProgramFile(std::error_code& error)
{
    // The kernel's name for the running file: every symlink already followed.
    return std::filesystem::read_symlink("/proc/self/exe", error);
}
