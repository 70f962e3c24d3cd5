# The Octave package vesk-<version>.tar.gz, installable with
# `pkg install vesk-<version>.tar.gz`: the self-test, the batch functions and
# the Slurm job-array script, the demo and its photographs in inst/, their
# helpers in inst/private/; the sources of the Octave-native functions, their
# help files, their help texts as headers and a Makefile in src/, which pkg
# builds with mkoctfile.
set(VESK_PACKAGE_NAME "vesk-${PROJECT_VERSION}")
set(VESK_PACKAGE_FILE "${CMAKE_BINARY_DIR}/${VESK_PACKAGE_NAME}.tar.gz")
# The functions the package installs besides the plug-ins, and the photographs
# vesk_demo draws when given none (inst/data/ of the package).
set(VESK_PACKAGE_FUNCTIONS ${VESK_SELFTEST_FILE} ${VESK_BATCH_FILE} ${VESK_DEMO_FILE})
file(GLOB VESK_DEMO_PHOTOGRAPHS CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*.png)
list(APPEND VESK_DEMO_PHOTOGRAPHS ${PROJECT_SOURCE_DIR}/data/SOURCES.md)
configure_file(package/DESCRIPTION.in "${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION" @ONLY)
configure_file(package/CITATION.in "${CMAKE_CURRENT_BINARY_DIR}/CITATION" @ONLY)

set(package_script "${CMAKE_CURRENT_SOURCE_DIR}/package/make_package.cmake")
add_custom_command(
  OUTPUT "${VESK_PACKAGE_FILE}"
  COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DDESCRIPTION=${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION"
          "-DCITATION=${CMAKE_CURRENT_BINARY_DIR}/CITATION"
          "-DSTAGING_DIR=${CMAKE_CURRENT_BINARY_DIR}/package" "-DNAME=${VESK_PACKAGE_NAME}"
          "-DOUTPUT=${VESK_PACKAGE_FILE}" "-DHELP_FILES=${VESK_HELP_FILES}"
          "-DINST_FILES=${VESK_PACKAGE_FUNCTIONS}" "-DINST_PRIVATE_FILES=${VESK_PRIVATE_FILES}"
          "-DDATA_FILES=${VESK_DEMO_PHOTOGRAPHS}"
          -P "${package_script}"
  DEPENDS "${package_script}" "${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION"
          "${CMAKE_CURRENT_BINARY_DIR}/CITATION" "${PROJECT_SOURCE_DIR}/NEWS"
          "${CMAKE_CURRENT_SOURCE_DIR}/package/Makefile" "${PROJECT_SOURCE_DIR}/cmake/octave_exports.map"
          "${PROJECT_SOURCE_DIR}/cmake/VeskPluginSources.cmake"
          "${CMAKE_CURRENT_SOURCE_DIR}/help_header.cmake"
          ${VESK_HELP_FILES} ${VESK_PACKAGE_FUNCTIONS} ${VESK_PRIVATE_FILES} ${VESK_DEMO_PHOTOGRAPHS}
          ${Vesk_NATIVE_SOURCES} ${Vesk2_NATIVE_SOURCES} ${VESK_MEX_HEADERS}
  COMMENT "Packing ${VESK_PACKAGE_NAME}.tar.gz for Octave's pkg"
  VERBATIM)
add_custom_target(octave_package ALL DEPENDS "${VESK_PACKAGE_FILE}")
