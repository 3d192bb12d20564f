# Third-party libraries: Debian's packages on Linux; on the Windows cross
# builds the same libraries built from Debian's source packages by
# scripts/build-windows-deps.sh into the prefix named by QARVEX_DEPS_PREFIX.
find_package(SQLite3 REQUIRED)
find_package(pugixml REQUIRED)
if(QARVEX_BUILD_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()
if(QARVEX_BUILD_BENCHMARKS)
  find_package(benchmark REQUIRED)
endif()
