# Linux i386, portable (the platform's 32-bit Linux clients).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(QARVEX_LINUX_TRIPLE i686-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-portable-common.cmake)
