# Cross-compiling for 64-bit Windows on Debian with MinGW-w64's posix thread
# model (std::thread and std::mutex need it). Used for the program and for the
# Qt and libzip it is built against (scripts/build-windows).
#
# TORUMIN_WINDOWS_PREFIXES: the folders where the cross-built libraries were
# installed, searched as if they were part of the MinGW-w64 system.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(_triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${_triplet}-windres)
set(CMAKE_AR ${_triplet}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_triplet}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_STRIP ${_triplet}-strip CACHE FILEPATH "")

# Passed on to try_compile projects, which read this file again.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES TORUMIN_WINDOWS_PREFIXES)
set(CMAKE_FIND_ROOT_PATH /usr/${_triplet} ${TORUMIN_WINDOWS_PREFIXES})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Programs built here are run by Wine when a build step needs to run one.
find_program(TORUMIN_WINE NAMES wine wine64 NO_CMAKE_FIND_ROOT_PATH)
if(TORUMIN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR "${TORUMIN_WINE}")
endif()
