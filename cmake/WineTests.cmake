# Tests of the Windows builds run under wine (CMAKE_CROSSCOMPILING_EMULATOR).
#
# Where starting a program is expensive (the x86 build on a kernel without
# 32-bit support starts wine under qemu, over a minute per start), each test
# program runs once with all its tests instead of once per test: this
# replaces gtest_discover_tests for the whole build.
option(QARVEX_TESTS_PER_PROGRAM "Run each test program once instead of once per test" OFF)
set(QARVEX_TEST_PROGRAM_TIMEOUT 1800 CACHE STRING "Seconds one whole test program may run under wine")

if(QARVEX_TESTS_PER_PROGRAM)
  function(gtest_discover_tests target)
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
    _gtest_discover_tests(${target} ${ARGN} DISCOVERY_TIMEOUT 120)
  endfunction()
endif()
