# The Windows resource script of the component: the version block (file
# version from the project version, read back by GetVersion and the log
# banner) and the Russian string table generated from
# resources/string_table.inc, the same list the Linux build compiles in.
function(qarvex_windows_resources target)
  set(inc "${PROJECT_SOURCE_DIR}/resources/string_table.inc")
  set_property(DIRECTORY "${PROJECT_SOURCE_DIR}" APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${inc}")
  file(STRINGS "${inc}" lines ENCODING UTF-8 REGEX "^QARVEX_STRING\\(")
  set(table "")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^QARVEX_STRING\\(([A-Za-z0-9_]+), *([0-9]+), *u\"(.*)\"\\)[ \t]*$")
      message(FATAL_ERROR "string_table.inc: cannot read the entry: ${line}")
    endif()
    set(number "${CMAKE_MATCH_2}")
    set(text "${CMAKE_MATCH_3}")
    # C's \" becomes the resource compiler's "".
    string(REPLACE "\\\"" "\"\"" text "${text}")
    string(APPEND table "  ${number}, L\"${text}\"\n")
  endforeach()
  set(QARVEX_STRING_TABLE "${table}")
  set(rc "${CMAKE_CURRENT_BINARY_DIR}/${target}.rc")
  configure_file("${PROJECT_SOURCE_DIR}/cmake/component.rc.in" "${rc}" @ONLY)
  target_sources(${target} PRIVATE "${rc}")
endfunction()
