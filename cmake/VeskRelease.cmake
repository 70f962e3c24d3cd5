# The release archive: `cmake --build build --target package` writes
# build/vesk-<version>.zip, whose one folder a MATLAB user unpacks and adds to
# the path: both plug-ins for Windows and Linux, their help files, the README
# and the licence.
if(WIN32)
  return()  # the Windows build only supplies its plug-ins to the main build
endif()

get_property(windows_plugins GLOBAL PROPERTY VESK_WINDOWS_PLUGINS)
set(release_documents ${PROJECT_SOURCE_DIR}/matlab/Vesk.m ${PROJECT_SOURCE_DIR}/matlab/Vesk2.m
    ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE)
install(FILES $<TARGET_FILE:Vesk> $<TARGET_FILE:Vesk2> ${windows_plugins} ${release_documents}
        DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_FILE_NAME vesk-${PROJECT_VERSION})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
include(CPack)

if(NOT VESK_BUILD_TESTS)
  return()
endif()
if(NOT windows_plugins)
  add_test(NAME release_archive
           COMMAND sh -c "echo 'Skipped: the archive needs the Windows plug-ins (MinGW-w64)'; exit 77")
  set_tests_properties(release_archive PROPERTIES SKIP_RETURN_CODE 77)
  return()
endif()
# Packs into a folder of its own and checks the listing and every file's bytes.
add_test(NAME release_archive
         COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
                 -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
                 -DWORK=${CMAKE_BINARY_DIR}/release-archive-test
                 -DARCHIVE=vesk-${PROJECT_VERSION}.zip -DTOP=vesk-${PROJECT_VERSION}
                 "-DEXPECTED=$<TARGET_FILE:Vesk>;$<TARGET_FILE:Vesk2>;${windows_plugins};${release_documents}"
                 -P ${CMAKE_CURRENT_LIST_DIR}/check-release-archive.cmake)
