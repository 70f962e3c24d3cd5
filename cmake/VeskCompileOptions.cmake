# Warnings for everything we compile: the one list, which the Octave builds
# (matlab/octave_mex.cmake, octave_native.cmake) pass to mkoctfile too.
set(VESK_WARNING_FLAGS -Wall -Wextra -Wpedantic -Wshadow)
if(VESK_WERROR)
  list(APPEND VESK_WARNING_FLAGS -Werror)
endif()
add_library(vesk_warnings INTERFACE)
target_compile_options(vesk_warnings INTERFACE ${VESK_WARNING_FLAGS})

if(VESK_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Code that goes into a plug-in library: no exceptions or RTTI (nothing of the
# C++ runtime is used), only mexFunction visible, and no clearing loop turned
# into a memset call (one plug-in calls nothing of the C library).
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fno-tree-loop-distribute-patterns VESK_HAVE_NO_LOOP_PATTERNS)
add_library(vesk_plugin_code INTERFACE)
target_compile_options(vesk_plugin_code INTERFACE -fno-exceptions -fno-rtti -fvisibility=hidden
                       -fvisibility-inlines-hidden
                       $<$<BOOL:${VESK_HAVE_NO_LOOP_PATTERNS}>:-fno-tree-loop-distribute-patterns>)
target_link_libraries(vesk_plugin_code INTERFACE vesk_warnings)
if(VESK_PORTABLE_COUNTING)
  target_compile_definitions(vesk_plugin_code INTERFACE VESK_PORTABLE_COUNTING)
endif()

set(VESK_PLUGIN_EXPORTS "${CMAKE_CURRENT_LIST_DIR}/plugin_exports.map")
include(${CMAKE_CURRENT_LIST_DIR}/VeskWindowsPlugin.cmake)

# vesk_add_plugin(NAME KERNEL_LIBRARY SOURCES...): a MEX library for the
# stand-in host and MATLAB on Linux (NAME.mexa64) that exports mexFunction and
# nothing else, and needs only the C library, libmx and libmex at load time.
function(vesk_add_plugin name kernel)
  if(WIN32)
    vesk_add_windows_plugin(${name} ${kernel} ${ARGN})
    return()
  endif()
  add_library(${name} MODULE ${ARGN})
  target_link_libraries(${name} PRIVATE ${kernel} vesk_gateway vesk_plugin_code mx mex)
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".mexa64" SKIP_BUILD_RPATH ON
                        LIBRARY_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/mex")
  target_link_options(${name} PRIVATE "LINKER:--version-script=${VESK_PLUGIN_EXPORTS}"
                      "LINKER:--no-undefined" "LINKER:--as-needed" -static-libgcc
                      -static-libstdc++)
  set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS "${VESK_PLUGIN_EXPORTS}")
endfunction()
