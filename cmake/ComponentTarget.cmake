# Target-specific additions to the component library qarvex_termemu.
if(WIN32)
  enable_language(RC)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)
  qarvex_windows_resources(qarvex_termemu)
  # Exactly the three Native API entry points leave the DLL, under their
  # plain names (no @n decoration, no other symbol exported).
  target_sources(qarvex_termemu PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qarvex_termemu.def)
  set_target_properties(qarvex_termemu PROPERTIES PREFIX "" IMPORT_PREFIX "")
  # No link time in the PE header: the same sources give the same DLL.
  target_link_options(qarvex_termemu PRIVATE -Wl,--no-insert-timestamp)
endif()
if(NOT WIN32)
  # Exactly the three Native API entry points are dynamic symbols; the
  # linked-in runtimes' own symbols are kept inside too.
  target_link_options(qarvex_termemu PRIVATE
    -Wl,--version-script=${CMAKE_CURRENT_LIST_DIR}/qarvex_termemu.map -Wl,--exclude-libs,ALL)
  set_property(TARGET qarvex_termemu APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/qarvex_termemu.map)
endif()
