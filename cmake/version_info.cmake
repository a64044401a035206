# glyphmill_version_info(target file_name description): gives a program or library the
# version block that Explorer's properties and the installer show. The version itself is
# the project's (top-level CMakeLists.txt), the one place it is written.
set(GLYPHMILL_COMPANY "Glyphmill")
set(GLYPHMILL_COPYRIGHT "© 2026 Glyphmill")

function(glyphmill_version_info target file_name description)
  set(VERSION_FILE_NAME ${file_name})
  set(VERSION_DESCRIPTION ${description})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(VERSION_FILE_TYPE VFT_APP)
  else()
    set(VERSION_FILE_TYPE VFT_DLL)
  endif()
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version_info.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
