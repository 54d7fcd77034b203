#pragma once

#include <filesystem>
#include <system_error>

// The demo names its assets "../data/...", relative to the working
// directory, which finds them only when the program is started from its own
// directory. Changing there first finds the data/ installed beside the
// program wherever it is started from: a menu, a shell in any directory, a
// file manager. A symlink to the program (such as /usr/bin/kirupo) leads to
// the directory of the real file. When no data directory lies beside it, one
// line on stderr names the directory looked for, and the program goes on as
// with missing assets.
void enterProgramDirectory(const char* programName);

// The running program's own file, every symlink followed: the platform's
// side of it (ProgramFile.cpp, Win32ProgramFile.cpp).
std::filesystem::path runningProgramFile(std::error_code& error);
