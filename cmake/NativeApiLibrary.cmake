# A library the platform loads as a Native API component: a shared library
# named as the platform names it (no "lib" prefix), with every symbol
# resolved when it is linked rather than found missing when it is loaded.
function(qarvex_add_native_api_library target)
  add_library(${target} SHARED ${ARGN})
  set_target_properties(${target} PROPERTIES PREFIX "")
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,--no-undefined)
  endif()
endfunction()
