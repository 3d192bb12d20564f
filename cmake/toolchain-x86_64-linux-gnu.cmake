# Linux x86_64, portable (the platform's 64-bit Linux clients).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QARVEX_LINUX_TRIPLE x86_64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-portable-common.cmake)
