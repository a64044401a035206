# glyphmill_name_dll(target base): the stand-in libraries keep the names the program loads them
# by (base + ".DLL") and sit beside the program. On i686 their stdcall functions are exported
# under the plain names of the .def file.
function(glyphmill_name_dll target base)
  set_target_properties(${target} PROPERTIES
    PREFIX "" OUTPUT_NAME ${base} SUFFIX ".DLL"
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/app)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${target} PRIVATE -Wl,--enable-stdcall-fixup -Wl,--kill-at)
  endif()
endfunction()
