# Linux ARM64 (aarch64), portable (the platform's clients on ARM64 machines).
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(QARVEX_LINUX_TRIPLE aarch64-linux-gnu)
include(${CMAKE_CURRENT_LIST_DIR}/linux-portable-common.cmake)
