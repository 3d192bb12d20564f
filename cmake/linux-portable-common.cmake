# Shared part of the portable Linux toolchains: Debian 12's clang as a cross
# compiler against a Debian root of the target (its glibc and its GCC 10 C++
# library), so the library needs no newer glibc than that root's and carries
# its C++ runtime inside. The including file sets QARVEX_LINUX_TRIPLE (the
# compiler's target), QARVEX_LINUX_MULTIARCH (Debian's name for the library
# folders) and CMAKE_SYSTEM_PROCESSOR first.
#
# The root is the one scripts/portable-sysroot.sh makes; its path is the
# link QARVEX_SYSROOT (default: the cache's sysroot-<triple>). Where that
# link points at "/", the machine's own system serves as the root (the
# fallback when the older root cannot be made).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER clang-14)
set(CMAKE_CXX_COMPILER clang++-14)
set(CMAKE_C_COMPILER_TARGET ${QARVEX_LINUX_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${QARVEX_LINUX_TRIPLE})

if(NOT QARVEX_SYSROOT)
  if(DEFINED ENV{QARVEX_ROOTS_DIR})
    set(QARVEX_SYSROOT "$ENV{QARVEX_ROOTS_DIR}/sysroot-${QARVEX_LINUX_TRIPLE}")
  else()
    set(QARVEX_SYSROOT "/var/cache/qarvex-termemu/roots/sysroot-${QARVEX_LINUX_TRIPLE}")
  endif()
endif()
set(QARVEX_SYSROOT "${QARVEX_SYSROOT}" CACHE PATH "Debian root the portable library is built against")
if(NOT EXISTS "${QARVEX_SYSROOT}")
  message(FATAL_ERROR "No root at ${QARVEX_SYSROOT}: run scripts/portable-sysroot.sh first")
endif()
get_filename_component(_qarvex_sysroot "${QARVEX_SYSROOT}" REALPATH)
if(NOT _qarvex_sysroot STREQUAL "/")
  set(CMAKE_SYSROOT "${_qarvex_sysroot}")
  # GCC's headers and libraries are found under usr/ itself. Found through
  # the root's /lib link to usr/lib, their paths would climb out of it with
  # "..", and the build tool, which shortens paths without following links,
  # would take every header for missing and rebuild everything every time.
  set(CMAKE_C_FLAGS_INIT "--gcc-toolchain=${CMAKE_SYSROOT}/usr")
  set(CMAKE_CXX_FLAGS_INIT "--gcc-toolchain=${CMAKE_SYSROOT}/usr")
endif()

# Third-party libraries built from Debian's sources by scripts/build-deps.sh.
get_filename_component(_qarvex_root "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT QARVEX_DEPS_PREFIX)
  set(QARVEX_DEPS_PREFIX "${_qarvex_root}/deps/${QARVEX_LINUX_TRIPLE}")
endif()
set(QARVEX_DEPS_PREFIX "${QARVEX_DEPS_PREFIX}" CACHE PATH "Prefix of the portable third-party libraries")
set(CMAKE_FIND_ROOT_PATH ${QARVEX_DEPS_PREFIX})
set(CMAKE_PREFIX_PATH ${QARVEX_DEPS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE BOTH)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# pkg-config (GTK's headers) reads the root's own .pc files.
if(CMAKE_SYSROOT)
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "${CMAKE_SYSROOT}")
  set(ENV{PKG_CONFIG_LIBDIR}
      "${CMAKE_SYSROOT}/usr/lib/${QARVEX_LINUX_MULTIARCH}/pkgconfig:${CMAKE_SYSROOT}/usr/share/pkgconfig")
  set(ENV{PKG_CONFIG_PATH} "")
  # The root's own /usr/include stays the compiler's system folder: named
  # again with -isystem it would come before the C++ library's headers and
  # break their #include_next.
  set(ENV{PKG_CONFIG_SYSTEM_INCLUDE_PATH} "${CMAKE_SYSROOT}/usr/include")
endif()

# Test programs of the other processors run inside their target's root;
# their tests are listed when the suite runs, so that building them runs
# nothing of theirs.
set(CMAKE_CROSSCOMPILING_EMULATOR "${_qarvex_root}/scripts/root-run.sh;${QARVEX_LINUX_TRIPLE}")
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)

# lld links every target the same way; libstdc++ and libgcc go inside, so
# the library needs only glibc at run time and never the process's own,
# possibly older, C++ runtime. Before glibc 2.34 the thread and dl functions
# live in their own libraries, which must be named.
set(_qarvex_link "${CMAKE_CXX_FLAGS_INIT} -fuse-ld=lld -static-libstdc++ -static-libgcc -Wl,--exclude-libs,ALL -pthread")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_qarvex_link}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_qarvex_link}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_qarvex_link}")
set(CMAKE_CXX_STANDARD_LIBRARIES "-lpthread -ldl")
set(CMAKE_C_STANDARD_LIBRARIES "-lpthread -ldl")
