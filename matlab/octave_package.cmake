# The Octave package vesk-<version>.tar.gz, installable with
# `pkg install vesk-<version>.tar.gz`: help files in inst/, the sources of the
# Octave-native functions and a Makefile in src/, which pkg builds with
# mkoctfile.
set(VESK_PACKAGE_NAME "vesk-${PROJECT_VERSION}")
set(VESK_PACKAGE_FILE "${CMAKE_BINARY_DIR}/${VESK_PACKAGE_NAME}.tar.gz")
string(TIMESTAMP VESK_PACKAGE_DATE "%Y-%m-%d" UTC)  # honours SOURCE_DATE_EPOCH
configure_file(package/DESCRIPTION.in "${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION" @ONLY)

set(package_script "${CMAKE_CURRENT_SOURCE_DIR}/package/make_package.cmake")
add_custom_command(
  OUTPUT "${VESK_PACKAGE_FILE}"
  COMMAND "${CMAKE_COMMAND}" "-DSOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "-DDESCRIPTION=${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION"
          "-DSTAGING_DIR=${CMAKE_CURRENT_BINARY_DIR}/package" "-DNAME=${VESK_PACKAGE_NAME}"
          "-DOUTPUT=${VESK_PACKAGE_FILE}" -P "${package_script}"
  DEPENDS "${package_script}" "${CMAKE_CURRENT_BINARY_DIR}/DESCRIPTION"
          "${CMAKE_CURRENT_SOURCE_DIR}/package/Makefile" "${VESK_OCTAVE_EXPORTS}"
          "${PROJECT_SOURCE_DIR}/cmake/VeskPluginSources.cmake"
          "${CMAKE_CURRENT_SOURCE_DIR}/help_header.cmake"
          ${VESK_HELP_FILES} ${VESK_NATIVE_SOURCES} ${VESK2_NATIVE_SOURCES} ${VESK_MEX_HEADERS}
  COMMENT "Packing ${VESK_PACKAGE_NAME}.tar.gz for Octave's pkg"
  VERBATIM)
add_custom_target(octave_package ALL DEPENDS "${VESK_PACKAGE_FILE}")
