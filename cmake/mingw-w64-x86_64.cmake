# Cross-compiling for 64-bit Windows with Debian's mingw-w64 toolchain. The posix thread model is
# the one with std::thread and std::mutex; the default win32 model has neither.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MIRELON_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MIRELON_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIRELON_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${MIRELON_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIRELON_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Self-contained executables: the C++ runtime and the thread library are linked in, so Wine (or a
# Windows machine) needs no DLLs from the toolchain.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wide-character Windows calls and a Windows 7 API level at least.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# CTest and try-run start the results under Wine.
find_program(MIRELON_WINE NAMES wine64 wine PATHS /usr/lib/wine /usr/lib64/wine NO_CMAKE_FIND_ROOT_PATH)
if(MIRELON_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${MIRELON_WINE})
endif()
