# Vesk and Vesk2 for MATLAB, whenever CMake's FindMatlab finds an installation
# (not in CI: MATLAB cannot be installed there). matlab_add_mex compiles with
# MATLAB's mex.h (it defines MATLAB_MEX_FILE) and links libmx and libmex.
find_package(Matlab QUIET COMPONENTS MX_LIBRARY)
if(NOT Matlab_FOUND)
  message(STATUS "MATLAB plug-ins: not built (MATLAB not found)")
  return()
endif()
message(STATUS "MATLAB plug-ins: built for ${Matlab_ROOT_DIR}")

set(VESK_MATLAB_DIR "${CMAKE_BINARY_DIR}/matlab")
foreach(name IN ITEMS Vesk Vesk2)
  string(TOLOWER "${name}" plugin_dir)
  matlab_add_mex(NAME ${name}_matlab MODULE OUTPUT_NAME ${name} SRC ${${name}_MEX_SOURCES}
                 LINK_TO vesk_warnings)
  target_include_directories(${name}_matlab PRIVATE ${VESK_MEX_INCLUDE_DIRS}
                             ${PROJECT_SOURCE_DIR}/plugins/${plugin_dir})
  set_target_properties(${name}_matlab PROPERTIES LIBRARY_OUTPUT_DIRECTORY "${VESK_MATLAB_DIR}"
                        RUNTIME_OUTPUT_DIRECTORY "${VESK_MATLAB_DIR}")
endforeach()
set(matlab_outputs)
vesk_copy_beside_plugins("${VESK_MATLAB_DIR}" matlab_outputs)
add_custom_target(vesk_matlab_help ALL DEPENDS ${matlab_outputs})
