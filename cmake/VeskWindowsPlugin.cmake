# The Windows form of a plug-in (NAME.mexw64), used when the build targets
# Windows (the MinGW-w64 sub-build of windows/).
#
# A plug-in DLL exports mexFunction and nothing else, and imports by name
# exactly what the host's .def files list: its import libraries are generated
# from those files, not taken from whatever libmx.dll we build. It links no
# C or C++ runtime start-up code (it has no static constructors), so a
# plug-in's only other imports are its own C library calls (qsort, in Vesk)
# from msvcrt.dll; libgcc is linked statically for the stack probe that frames
# over 4 KiB need.

set(VESK_HOST_DEF_DIR "${CMAKE_CURRENT_LIST_DIR}/../host")
set(VESK_HOST_IMPORT_DIR "${CMAKE_BINARY_DIR}/host-imports")

function(vesk_windows_host_import_libraries)
  if(TARGET vesk_host_import_libraries)
    return()
  endif()
  set(libraries)
  foreach(dll mx mex)
    set(def "${VESK_HOST_DEF_DIR}/lib${dll}.def")
    set(library "${VESK_HOST_IMPORT_DIR}/lib${dll}.dll.a")
    add_custom_command(OUTPUT "${library}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${VESK_HOST_IMPORT_DIR}"
      COMMAND ${CMAKE_DLLTOOL} --input-def "${def}" --dllname lib${dll}.dll
              --output-lib "${library}"
      DEPENDS "${def}" VERBATIM
      COMMENT "Import library for lib${dll}.dll from lib${dll}.def")
    list(APPEND libraries "${library}")
  endforeach()
  add_custom_target(vesk_host_import_libraries DEPENDS ${libraries})
  set_property(GLOBAL PROPERTY VESK_HOST_IMPORT_LIBRARIES "${libraries}")
endfunction()

# DllMainCRTStartup of our own, since no runtime start-up code is linked.
set(VESK_PLUGIN_DLL_ENTRY "${CMAKE_CURRENT_LIST_DIR}/../windows/plugin_dll_entry.cpp")

function(vesk_add_windows_plugin name kernel)
  vesk_windows_host_import_libraries()
  get_property(import_libraries GLOBAL PROPERTY VESK_HOST_IMPORT_LIBRARIES)
  add_library(${name} MODULE ${ARGN} "${VESK_PLUGIN_DLL_ENTRY}")
  add_dependencies(${name} vesk_host_import_libraries)
  target_link_libraries(${name} PRIVATE ${kernel} vesk_gateway vesk_plugin_code
                        ${import_libraries} msvcrt gcc)
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mexw64"
                        LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/mex"
                        LINK_DEPENDS "${import_libraries}")
  target_link_options(${name} PRIVATE -nostdlib "LINKER:--exclude-all-symbols"
                      "LINKER:--disable-auto-import" "LINKER:--disable-runtime-pseudo-reloc")
endfunction()
