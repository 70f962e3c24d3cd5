# cmake -P script: lays out the Octave package in STAGING_DIR/NAME and packs
# it into OUTPUT (NAME.tar.gz). Arguments (-D): SOURCE_DIR (the project),
# DESCRIPTION (the configured DESCRIPTION file), STAGING_DIR, NAME, OUTPUT,
# HELP_FILES (under matlab/, for src/help/), INST_FILES (functions for inst/),
# DATA_FILES (for inst/data/).
set(package "${STAGING_DIR}/${NAME}")
file(REMOVE_RECURSE "${package}")
file(MAKE_DIRECTORY "${package}/inst" "${package}/src")

file(COPY "${DESCRIPTION}" DESTINATION "${package}")
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
# the compiled plug-ins only: Octave looks for a MEX file's help in the .m
# file beside it, and a second copy in inst/ would be listed twice by lookfor.
foreach(file IN LISTS HELP_FILES)
  file(RELATIVE_PATH name "${SOURCE_DIR}/matlab" "${file}")
  get_filename_component(subfolder "${package}/src/help/${name}" DIRECTORY)
  file(COPY "${file}" DESTINATION "${subfolder}")
endforeach()
file(COPY ${INST_FILES} DESTINATION "${package}/inst")
file(COPY ${DATA_FILES} DESTINATION "${package}/inst/data")
file(COPY "${SOURCE_DIR}/matlab/package/Makefile" "${SOURCE_DIR}/cmake/plugin_exports.map"
     DESTINATION "${package}/src")

# The plug-ins' sources from the project's one list, and the Makefile's copy
# of that list.
include("${SOURCE_DIR}/cmake/VeskPluginSources.cmake")
set(shared ${VESK_CORE_SOURCES} ${VESK_HOST_SOURCES})
set(makefile_list "# Generated from cmake/VeskPluginSources.cmake.\n")
string(REPLACE ";" " " include_text "${VESK_INCLUDE_DIRS}")
string(APPEND makefile_list "INCLUDE_DIRS := ${include_text}\n")
foreach(upper IN ITEMS VESK VESK2)
  set(sources ${${upper}_ENTRY_SOURCES} ${${upper}_KERNEL_SOURCES} ${shared})
  string(REPLACE ";" " " sources_text "${sources}")
  string(APPEND makefile_list "${upper}_SOURCES := ${sources_text}\n")
  foreach(source IN LISTS sources)
    get_filename_component(dir "${source}" DIRECTORY)
    file(COPY "${SOURCE_DIR}/${source}" DESTINATION "${package}/src/${dir}")
    file(GLOB headers "${SOURCE_DIR}/${dir}/*.h")
    file(COPY ${headers} DESTINATION "${package}/src/${dir}")
  endforeach()
endforeach()
file(WRITE "${package}/src/plugin_sources.mk" "${makefile_list}")

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${OUTPUT}" "${NAME}"
                WORKING_DIRECTORY "${STAGING_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not pack ${OUTPUT}")
endif()
