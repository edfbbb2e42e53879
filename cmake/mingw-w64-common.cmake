# Shared part of the two mingw-w64 toolchain files; ZEMLAR_MINGW_TRIPLE names the target.
# The posix threading flavour: its libstdc++ has std::mutex, which GoogleTest needs.
set(CMAKE_C_COMPILER ${ZEMLAR_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEMLAR_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEMLAR_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEMLAR_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Every executable carries its own C++ runtime so that it needs no DLL beyond the system's.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
