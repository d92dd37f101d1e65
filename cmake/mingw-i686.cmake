# Cross build of the Windows module for the x86 host: 32-bit, Debian's MinGW-w64
# (g++-mingw-w64-i686, win32 thread model).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VEMLO_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
