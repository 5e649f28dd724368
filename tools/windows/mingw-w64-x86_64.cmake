# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (GCC with POSIX threads, which Qt 6
# needs). Used for Qt itself and for the game.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VARKOZ_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VARKOZ_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARKOZ_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARKOZ_MINGW_TRIPLET}-windres)

# Libraries, headers and CMake packages come from the Windows side only (the MinGW sysroot, and
# whatever is added to CMAKE_PREFIX_PATH, such as Qt for Windows); programs run on this machine.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${VARKOZ_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
