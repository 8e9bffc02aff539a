# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (the
# variant with POSIX threads, which std::thread needs). The C and C++
# run-times are linked in statically, so the executables run as they are,
# under Wine or on Windows, without MinGW's DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VEILBOX_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEILBOX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEILBOX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VEILBOX_MINGW_TRIPLE}-windres)

# Libraries and packages come from the MinGW tree only, never from the build
# machine's own /usr.
set(CMAKE_FIND_ROOT_PATH /usr/${VEILBOX_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
