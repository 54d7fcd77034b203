# The toolchain for KIRUPO's own Windows programs: toolchain-mingw64.cmake
# (which the libraries are built with), but with mingw-w64's POSIX thread
# model, whose libstdc++ has std::thread and std::mutex (the capture tool
# writes frames on a thread of its own). The programs link winpthread and
# the C++ runtime statically: no DLL of the compiler's ships with them.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw64.cmake)
set(CMAKE_C_COMPILER ${KIRUPO_MINGW_HOST}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KIRUPO_MINGW_HOST}-g++-posix)
