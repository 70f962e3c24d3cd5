# Vesk.mex and Vesk2.mex for GNU Octave, compiled by mkoctfile --mex from the
# same sources as the stand-in build, with Octave's mex.h (VESK_HOST_SDK), into
# ${CMAKE_BINARY_DIR}/octave beside their help files.
#
# The sanitizer build skips them: Octave itself is not instrumented, so an
# instrumented plug-in would not load, and an uninstrumented one would test
# nothing new.
option(VESK_WITH_OCTAVE "Build the Octave plug-ins when Octave is found" ON)
if(VESK_WITH_OCTAVE)
  find_program(VESK_MKOCTFILE mkoctfile)
  find_program(VESK_OCTAVE_CLI octave-cli)
endif()
if(NOT VESK_WITH_OCTAVE)
  message(STATUS "Octave plug-ins: not built (VESK_WITH_OCTAVE is OFF)")
  set(VESK_HAVE_OCTAVE OFF)
elseif(NOT VESK_MKOCTFILE OR NOT VESK_OCTAVE_CLI)
  message(STATUS "Octave plug-ins: not built (mkoctfile or octave-cli not found)")
  set(VESK_HAVE_OCTAVE OFF)
elseif(VESK_SANITIZE)
  message(STATUS "Octave plug-ins: not built in the sanitizer build")
  set(VESK_HAVE_OCTAVE OFF)
else()
  message(STATUS "Octave plug-ins: built with ${VESK_MKOCTFILE}")
  set(VESK_HAVE_OCTAVE ON)
endif()

# vesk_add_octave_functions(TARGET DIR SUFFIX SOURCES FLAGS flag... DEPENDS file...):
# target TARGET (in ALL) compiles Vesk.SUFFIX and Vesk2.SUFFIX into DIR with
# mkoctfile and FLAGS, from the lists Vesk_<SOURCES>_SOURCES and
# Vesk2_<SOURCES>_SOURCES, and copies the help files and the self-test beside
# them.
function(vesk_add_octave_functions target dir suffix sources)
  cmake_parse_arguments(PARSE_ARGV 4 arg "" "" "FLAGS;DEPENDS")
  set(built)
  foreach(name IN ITEMS Vesk Vesk2)
    string(TOLOWER "${name}" plugin_dir)
    set(output "${dir}/${name}.${suffix}")
    add_custom_command(
      OUTPUT "${output}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
      COMMAND "${VESK_MKOCTFILE}" ${arg_FLAGS}
              "-I${PROJECT_SOURCE_DIR}/plugins/${plugin_dir}" -o "${output}"
              ${${name}_${sources}_SOURCES}
      DEPENDS ${${name}_${sources}_SOURCES} ${VESK_MEX_HEADERS} ${arg_DEPENDS}
      COMMENT "Building ${name}.${suffix} for Octave"
      VERBATIM)
    list(APPEND built "${output}")
  endforeach()

  vesk_copy_beside_plugins("${dir}" built)
  add_custom_target(${target} ALL DEPENDS ${built})
endfunction()

if(VESK_HAVE_OCTAVE)
  set(VESK_OCTAVE_DIR "${CMAKE_BINARY_DIR}/octave")

  # Default mkoctfile flags otherwise: they keep C++ exceptions on, which
  # Octave's mexErrMsgIdAndTxt throws through the plug-in's frames.
  set(octave_mex_flags --mex -DVESK_HOST_SDK -Wall -Wextra -Wpedantic -Wshadow
      "-Wl,--version-script=${VESK_PLUGIN_EXPORTS}")
  if(VESK_WERROR)
    list(APPEND octave_mex_flags -Werror)
  endif()
  foreach(dir IN LISTS VESK_MEX_INCLUDE_DIRS)
    list(APPEND octave_mex_flags "-I${dir}")
  endforeach()

  vesk_add_octave_functions(vesk_octave "${VESK_OCTAVE_DIR}" mex MEX
                            FLAGS ${octave_mex_flags} DEPENDS "${VESK_PLUGIN_EXPORTS}")

  include(octave_native.cmake)
endif()

# Without Octave the suite's tests still exist and report themselves skipped.
if(VESK_BUILD_TESTS AND NOT VESK_SANITIZE)
  add_subdirectory(tests)
endif()
