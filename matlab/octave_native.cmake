# Vesk.oct and Vesk2.oct: the Octave-native functions, compiled by mkoctfile
# from the same kernels and checks as the MEX files, with the Octave gateway
# (no MEX API at all), into
# ${CMAKE_BINARY_DIR}/octave-native beside their help files. Included from
# octave_mex.cmake when Octave is found, so skipped where the MEX files are.
set(VESK_OCTAVE_NATIVE_DIR "${CMAKE_BINARY_DIR}/octave-native")
set(VESK_OCTAVE_EXPORTS "${PROJECT_SOURCE_DIR}/cmake/octave_exports.map")
set(help_header_dir "${CMAKE_CURRENT_BINARY_DIR}/native_help")

# Octave's own headers count as system headers here: our warnings are for
# our code.
execute_process(COMMAND "${VESK_MKOCTFILE}" -p OCTINCLUDEDIR
                OUTPUT_VARIABLE octave_include_dir OUTPUT_STRIP_TRAILING_WHITESPACE)
set(octave_native_flags "-isystem${octave_include_dir}"
    "-isystem${octave_include_dir}/.." -Wall -Wextra -Wpedantic -Wshadow
    "-Wl,--version-script=${VESK_OCTAVE_EXPORTS}" "-I${help_header_dir}")
if(VESK_WERROR)
  list(APPEND octave_native_flags -Werror)
endif()
foreach(dir IN LISTS VESK_MEX_INCLUDE_DIRS)
  list(APPEND octave_native_flags "-I${dir}")
endforeach()

set(help_headers)
foreach(name IN ITEMS Vesk Vesk2)
  string(TOLOWER "${name}" plugin_dir)
  set(help_header "${help_header_dir}/${plugin_dir}_help.h")
  add_custom_command(
    OUTPUT "${help_header}"
    COMMAND "${CMAKE_COMMAND}" "-DHELP_FILE=${CMAKE_CURRENT_SOURCE_DIR}/${name}.m"
            "-DHEADER=${help_header}" -P "${CMAKE_CURRENT_SOURCE_DIR}/help_header.cmake"
    DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${name}.m" "${CMAKE_CURRENT_SOURCE_DIR}/help_header.cmake"
    COMMENT "Help text of ${name}.oct from ${name}.m"
    VERBATIM)
  list(APPEND help_headers "${help_header}")
endforeach()

# The help files beside the functions are not needed for help (it is
# compiled in); they keep the folder laid out as the package's.
vesk_add_octave_functions(vesk_octave_native "${VESK_OCTAVE_NATIVE_DIR}" oct NATIVE
                          FLAGS ${octave_native_flags}
                          DEPENDS ${help_headers} "${VESK_OCTAVE_EXPORTS}")
