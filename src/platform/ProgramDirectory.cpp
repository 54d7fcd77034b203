#include "platform/ProgramDirectory.h"

#include <cstdio>

namespace fs = std::filesystem;

void enterProgramDirectory(const char* programName)
{
    std::error_code error;
    const fs::path program = runningProgramFile(error);
    if (!error)
        fs::current_path(program.parent_path(), error);
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
