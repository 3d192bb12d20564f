# Windows x64 (the platform's 64-bit clients) with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(QARVEX_MINGW_TRIPLE x86_64-w64-mingw32)
set(QARVEX_WINE_ARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
