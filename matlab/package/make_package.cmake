# cmake -P script: lays out the Octave package in STAGING_DIR/NAME and packs
# it into OUTPUT (NAME.tar.gz). Arguments (-D): SOURCE_DIR (the project),
# DESCRIPTION (the configured DESCRIPTION file), STAGING_DIR, NAME, OUTPUT.
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

file(COPY "${SOURCE_DIR}/matlab/Vesk.m" "${SOURCE_DIR}/matlab/Vesk2.m"
     DESTINATION "${package}/inst")
file(COPY "${SOURCE_DIR}/matlab/package/Makefile" "${SOURCE_DIR}/cmake/plugin_exports.map"
     DESTINATION "${package}/src")
foreach(dir IN ITEMS core host plugins/vesk plugins/vesk2)
  file(GLOB sources "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp")
  file(COPY ${sources} DESTINATION "${package}/src/${dir}")
endforeach()

file(REMOVE "${OUTPUT}")
execute_process(COMMAND "${CMAKE_COMMAND}" -E tar czf "${OUTPUT}" "${NAME}"
                WORKING_DIRECTORY "${STAGING_DIR}" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "Could not pack ${OUTPUT}")
endif()
