# CMake toolchain for 64-bit Windows, cross-built on Debian with mingw-w64
# (packages mingw-w64, see scripts/debian-packages-windows).
#
# Libraries, headers, CMake packages and pkg-config files are looked for only
# in mingw-w64's own tree and in the prefix of the cross-built dependencies
# (Irrlicht, SDL2, SDL2_mixer, libpng, zlib) that scripts/windows-release
# builds. That prefix is KIRUPO_WINDOWS_DEPS: -DKIRUPO_WINDOWS_DEPS=DIR, else
# the environment variable of the same name, else build-windows/deps in this
# repository.
#
#   cmake -S . -B build-win --toolchain packaging/windows/toolchain-mingw64.cmake
#   cmake -S . -B build-win --toolchain ... -DKIRUPO_WINDOWS_DEPS=/path/to/deps

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KIRUPO_MINGW_HOST x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KIRUPO_MINGW_HOST}-gcc)
set(CMAKE_CXX_COMPILER ${KIRUPO_MINGW_HOST}-g++)
set(CMAKE_RC_COMPILER ${KIRUPO_MINGW_HOST}-windres)
if(NOT KIRUPO_WINDOWS_DEPS)
  if(DEFINED ENV{KIRUPO_WINDOWS_DEPS} AND NOT "$ENV{KIRUPO_WINDOWS_DEPS}" STREQUAL "")
    set(KIRUPO_WINDOWS_DEPS "$ENV{KIRUPO_WINDOWS_DEPS}")
  else()
    get_filename_component(KIRUPO_WINDOWS_DEPS "${CMAKE_CURRENT_LIST_DIR}/../../build-windows/deps" ABSOLUTE)
  endif()
endif()
set(KIRUPO_WINDOWS_DEPS "${KIRUPO_WINDOWS_DEPS}" CACHE PATH "Prefix of the cross-built Windows dependencies")
# try_compile() projects read this file again: give them the same prefix.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KIRUPO_WINDOWS_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/${KIRUPO_MINGW_HOST} "${KIRUPO_WINDOWS_DEPS}")
# Programs (compilers, pkg-config, tools run during the build) are the build
# machine's; everything that gets linked or included is the target's.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config: only the prefix's .pc files (they hold absolute paths into it),
# never the build machine's.
set(ENV{PKG_CONFIG_LIBDIR} "${KIRUPO_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

