# Target-specific additions to the component library qarvex_termemu.
if(WIN32)
  enable_language(RC)
  include(${CMAKE_CURRENT_LIST_DIR}/WindowsResources.cmake)
  qarvex_windows_resources(qarvex_termemu)
  # Exactly the three Native API entry points leave the DLL, under their
  # plain names (no @n decoration, no other symbol exported).
  target_sources(qarvex_termemu PRIVATE ${CMAKE_CURRENT_LIST_DIR}/qarvex_termemu.def)
  set_target_properties(qarvex_termemu PROPERTIES PREFIX "" IMPORT_PREFIX "")
endif()
