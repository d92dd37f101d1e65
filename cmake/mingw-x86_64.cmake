# Cross build of the Windows module for the x64 host: 64-bit, Debian's MinGW-w64
# (g++-mingw-w64-x86-64, win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEMLO_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
