# Tests of the Windows builds run under wine (CMAKE_CROSSCOMPILING_EMULATOR).
#
# Where starting a program is expensive (the x86 build on a kernel without
# 32-bit support starts wine under qemu, over a minute per start), each test
# program runs once with all its tests instead of once per test: this
# replaces gtest_discover_tests for the whole build.
option(QARVEX_TESTS_PER_PROGRAM "Run each test program once instead of once per test" OFF)
set(QARVEX_TEST_PROGRAM_TIMEOUT 1800 CACHE STRING "Seconds one whole test program may run under wine")

include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)
enable_language(RC)

# The test fixtures' POSIX calls, mapped for Windows (tests/windows).
set(QARVEX_POSIX_TEST_SHIMS "${PROJECT_SOURCE_DIR}/tests/windows/posix_shims.h")

# Test programs that test Linux behaviour only (XDG folders, file modes,
# fork, dlopen) and are neither built nor run for Windows; the Windows
# behaviour they stand for is tested in tests/windows.
# Also left out: programs whose fixtures find the component's data
# folder through the XDG variables (the journal and log files they read
# back); on Windows that folder is the shell's, which every test shares.
set(QARVEX_LINUX_ONLY_TEST_PROGRAMS qarvex_platform_tests emulator_tests e2e_terminal_tests qarvex_log_tests
    emulator_ops_tests)
# Single test files of that kind (they fork processes) inside programs that
# are otherwise built for Windows.
set(QARVEX_LINUX_ONLY_TEST_SOURCES log_concurrency_test.cpp reliability_test.cpp)

# Prepares a test program for Windows; sets `skip` when it is left out.
function(qarvex_windows_test_program target skip)
  if(target IN_LIST QARVEX_LINUX_ONLY_TEST_PROGRAMS)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL TRUE)
    set(${skip} TRUE PARENT_SCOPE)
    return()
  endif()
  get_target_property(sources ${target} SOURCES)
  set(kept "")
  foreach(source IN LISTS sources)
    get_filename_component(name "${source}" NAME)
    if(NOT name IN_LIST QARVEX_LINUX_ONLY_TEST_SOURCES)
      list(APPEND kept "${source}")
    endif()
  endforeach()
  set_property(TARGET ${target} PROPERTY SOURCES ${kept})
  target_compile_options(${target} PRIVATE "SHELL:-include ${QARVEX_POSIX_TEST_SHIMS}")
  get_target_property(own_version ${target} QARVEX_OWN_VERSION_RESOURCE)
  if(NOT own_version)
    qarvex_windows_version_resource(${target})
  endif()
  set(${skip} FALSE PARENT_SCOPE)
endfunction()

if(QARVEX_TESTS_PER_PROGRAM)
  function(gtest_discover_tests target)
    qarvex_windows_test_program(${target} skip)
    if(skip)
      return()
    endif()
    cmake_parse_arguments(arg "NO_PRETTY_TYPES;NO_PRETTY_VALUES"
      "WORKING_DIRECTORY;TEST_PREFIX;TEST_SUFFIX;TEST_LIST;DISCOVERY_TIMEOUT;DISCOVERY_MODE;XML_OUTPUT_DIR"
      "EXTRA_ARGS;PROPERTIES;TEST_FILTER" ${ARGN})
    set(name "${arg_TEST_PREFIX}${target}${arg_TEST_SUFFIX}")
    if(NOT arg_WORKING_DIRECTORY)
      set(arg_WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}")
    endif()
    add_test(NAME "${name}" COMMAND ${target} ${arg_EXTRA_ARGS} WORKING_DIRECTORY "${arg_WORKING_DIRECTORY}")
    set_tests_properties("${name}" PROPERTIES TIMEOUT ${QARVEX_TEST_PROGRAM_TIMEOUT})
    if(arg_PROPERTIES)
      set_tests_properties("${name}" PROPERTIES ${arg_PROPERTIES})
    endif()
  endfunction()
else()
  # The tests are listed when ctest runs (after scripts/test.sh has created
  # the wine prefix), with room for a slow start of wine.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
  function(gtest_discover_tests target)
    qarvex_windows_test_program(${target} skip)
    if(skip)
      return()
    endif()
    _gtest_discover_tests(${target} ${ARGN} DISCOVERY_TIMEOUT 120)
  endfunction()
endif()
