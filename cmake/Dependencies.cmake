# Third-party libraries: Debian's packages on Linux; on the Windows cross
# builds the same libraries built from Debian's source packages by
# scripts/build-windows-deps.sh into the prefix named by QARVEX_DEPS_PREFIX
# (the toolchain files point the searches there).
find_package(SQLite3 REQUIRED)
if(WIN32)
  find_package(pugixml REQUIRED CONFIG)
else()
  find_package(pugixml REQUIRED)
endif()
if(QARVEX_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/WineTests.cmake)
  endif()
endif()
if(QARVEX_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
