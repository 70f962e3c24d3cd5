# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

# The POSIX thread model: with it the C++ library has std::mutex, which the
# test host's GoogleTest needs. The plug-ins link no runtime at all, so the
# thread model does not reach them.
set(VESK_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${VESK_MINGW_PREFIX}-gcc-posix ${VESK_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${VESK_MINGW_PREFIX}-g++-posix ${VESK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${VESK_MINGW_PREFIX}-windres)
find_program(CMAKE_DLLTOOL NAMES ${VESK_MINGW_PREFIX}-dlltool REQUIRED)

set(CMAKE_FIND_ROOT_PATH /usr/${VESK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Nothing we build may need a MinGW runtime DLL (libgcc, libstdc++,
# libwinpthread) at load time: link them all statically.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")
