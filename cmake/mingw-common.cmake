# Shared part of the mingw-w64 cross toolchains. The including file sets
# QARVEX_MINGW_TRIPLE and QARVEX_WINE_ARCH before including this one.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${QARVEX_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QARVEX_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QARVEX_MINGW_TRIPLE}-windres)

# Third-party libraries built by scripts/build-windows-deps.sh.
get_filename_component(_qarvex_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT QARVEX_DEPS_PREFIX)
  set(QARVEX_DEPS_PREFIX "${_qarvex_root}/deps/${QARVEX_MINGW_TRIPLE}")
endif()
set(QARVEX_DEPS_PREFIX "${QARVEX_DEPS_PREFIX}" CACHE PATH "Prefix of the cross-built third-party libraries")
set(CMAKE_FIND_ROOT_PATH /usr/${QARVEX_MINGW_TRIPLE} ${QARVEX_DEPS_PREFIX})
set(CMAKE_PREFIX_PATH ${QARVEX_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The modules carry their C and C++ runtimes (libgcc, libstdc++, winpthread)
# so that they import only DLLs that ship with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test programs run under wine (scripts/wine-run.sh picks the prefix).
set(CMAKE_CROSSCOMPILING_EMULATOR "${_qarvex_root}/scripts/wine-run.sh;${QARVEX_WINE_ARCH}")
