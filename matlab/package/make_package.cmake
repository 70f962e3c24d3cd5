# cmake -P script: lays out the Octave package in STAGING_DIR/NAME and packs
# it into OUTPUT (NAME.tar.gz). Arguments (-D): SOURCE_DIR (the project),
# DESCRIPTION and CITATION (the configured files; NEWS comes from
# SOURCE_DIR: news vesk and citation vesk show them), STAGING_DIR, NAME, OUTPUT,
# HELP_FILES (under matlab/, for src/help/), INST_FILES (functions for inst/),
# INST_PRIVATE_FILES (their helpers, for inst/private/), DATA_FILES (for
# inst/data/).
set(package "${STAGING_DIR}/${NAME}")
file(REMOVE_RECURSE "${package}")
file(MAKE_DIRECTORY "${package}/inst" "${package}/src")

file(COPY "${DESCRIPTION}" "${CITATION}" "${SOURCE_DIR}/NEWS" DESTINATION "${package}")
# pkg install demands a COPYING file: the project's licence.
set(licence "")
foreach(candidate IN ITEMS LICENSE LICENSE.txt LICENSE.md COPYING)
  if(NOT licence AND EXISTS "${SOURCE_DIR}/${candidate}")
    set(licence "${SOURCE_DIR}/${candidate}")
  endif()
endforeach()
if(licence)
  configure_file("${licence}" "${package}/COPYING" COPYONLY)
else()
  file(WRITE "${package}/COPYING"
       "The Vesk project has not published a licence yet; see its README.\n")
endif()

# The help files go to src/help/, from where the Makefile puts them beside
# the compiled functions only: a second copy in inst/ would be listed twice by
# lookfor.
foreach(file IN LISTS HELP_FILES)
  file(RELATIVE_PATH name "${SOURCE_DIR}/matlab" "${file}")
  get_filename_component(subfolder "${package}/src/help/${name}" DIRECTORY)
  file(COPY "${file}" DESTINATION "${subfolder}")
endforeach()
file(COPY ${INST_FILES} DESTINATION "${package}/inst")
file(COPY ${INST_PRIVATE_FILES} DESTINATION "${package}/inst/private")
file(COPY ${DATA_FILES} DESTINATION "${package}/inst/data")

# The index of the functions, written here: left to pkg, it would list Vesk
# and Vesk2 twice, for the .oct file and for the help file beside it.
foreach(field IN ITEMS Name Title Categories)
  file(STRINGS "${DESCRIPTION}" line REGEX "^${field}: ")
  string(REGEX REPLACE "^${field}: " "" ${field} "${line}")
endforeach()
set(index "${Name} >> ${Title}\n${Categories}\n")
foreach(file IN LISTS HELP_FILES INST_FILES)
  if(NOT file MATCHES "/private/" AND file MATCHES "[.]m$")  # not the job-array script
    get_filename_component(function "${file}" NAME_WE)
    string(APPEND index "  ${function}\n")
  endif()
endforeach()
file(WRITE "${package}/INDEX" "${index}")
file(COPY "${SOURCE_DIR}/matlab/package/Makefile" "${SOURCE_DIR}/cmake/octave_exports.map"
     DESTINATION "${package}/src")

# The package ships the Octave-native functions: their sources from the
# project's one list, and the Makefile's copy of that list.
include("${SOURCE_DIR}/cmake/VeskPluginSources.cmake")
set(shared ${VESK_CORE_SOURCES} ${VESK_OCTAVE_HOST_SOURCES})
set(makefile_list "# Generated from cmake/VeskPluginSources.cmake.\n")
string(REPLACE ";" " " include_text "${VESK_INCLUDE_DIRS}")
string(APPEND makefile_list "INCLUDE_DIRS := ${include_text}\n")
foreach(name IN ITEMS Vesk Vesk2)
  set(sources ${${name}_OCTAVE_ENTRY_SOURCES} ${${name}_KERNEL_SOURCES} ${shared})
  string(REPLACE ";" " " sources_text "${sources}")
  string(APPEND makefile_list "${name}_OCTAVE_SOURCES := ${sources_text}\n")
  string(REPLACE ";" " " entry_text "${${name}_OCTAVE_ENTRY_SOURCES}")
  string(APPEND makefile_list "${name}_OCTAVE_ENTRY_SOURCES := ${entry_text}\n")
  foreach(source IN LISTS sources)
    get_filename_component(dir "${source}" DIRECTORY)
    file(COPY "${SOURCE_DIR}/${source}" DESTINATION "${package}/src/${dir}")
    file(GLOB headers "${SOURCE_DIR}/${dir}/*.h")
    file(COPY ${headers} DESTINATION "${package}/src/${dir}")
  endforeach()
endforeach()
file(WRITE "${package}/src/plugin_sources.mk" "${makefile_list}")

# Their help texts, compiled in: made here, so that pkg install needs no CMake.
include("${SOURCE_DIR}/matlab/help_header.cmake")
vesk_write_help_header("${SOURCE_DIR}/matlab/Vesk.m" "${package}/src/help_text/vesk_help.h")
vesk_write_help_header("${SOURCE_DIR}/matlab/Vesk2.m" "${package}/src/help_text/vesk2_help.h")

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${OUTPUT}" "${NAME}"
                WORKING_DIRECTORY "${STAGING_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not pack ${OUTPUT}")
endif()
