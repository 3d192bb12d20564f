# Windows x86 (the platform's 32-bit clients) with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QARVEX_MINGW_TRIPLE i686-w64-mingw32)
set(QARVEX_WINE_ARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
