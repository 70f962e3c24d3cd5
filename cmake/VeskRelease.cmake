# The release archive: `cmake --build build --target package` writes
# build/vesk-<version>.zip. Its one folder serves both hosts:
# - MATLAB users unpack it and put the folder on the path: the plug-ins for
#   64-bit Windows and Linux, their help files (with private/, the helper of
#   their not-compiled error), vesk_selftest, the batch functions, the demo
#   (their helpers in private/) and its photographs (data/); on another platform build_mex compiles the plug-ins
#   from src/, which holds their sources and the list of them that build_mex
#   reads;
# - Octave users install the Octave package vesk-<version>.tar.gz from it.
if(WIN32)
  return()  # the Windows build only supplies its plug-ins to the main build
endif()

# Each file once, as FOLDER|FILE ("." is the top), for the archive test.
set(release_files)
function(vesk_release_files folder)
  install(FILES ${ARGN} DESTINATION "${folder}")
  foreach(file IN LISTS ARGN)
    list(APPEND release_files "${folder}|${file}")
  endforeach()
  set(release_files ${release_files} PARENT_SCOPE)
endfunction()

get_property(windows_plugins GLOBAL PROPERTY VESK_WINDOWS_PLUGINS)
vesk_release_files(. $<TARGET_FILE:Vesk> $<TARGET_FILE:Vesk2> ${windows_plugins}
                   ${VESK_SELFTEST_FILE} ${VESK_BATCH_FILE} ${PROJECT_SOURCE_DIR}/matlab/build_mex.m
                   ${VESK_DEMO_FILE} ${VESK_PACKAGE_FILE}
                   ${PROJECT_SOURCE_DIR}/matlab/README.md ${PROJECT_SOURCE_DIR}/LICENSE)
foreach(file IN LISTS VESK_HELP_FILES VESK_PRIVATE_FILES)
  file(RELATIVE_PATH name "${PROJECT_SOURCE_DIR}/matlab" "${file}")
  get_filename_component(folder "${name}" DIRECTORY)
  if(NOT folder)
    set(folder .)
  endif()
  vesk_release_files(${folder} ${file})
endforeach()
vesk_release_files(data ${VESK_DEMO_PHOTOGRAPHS})

# What build_mex reads: the source list, and every source in it with the
# headers of its folder, where the source tree has them.
vesk_release_files(src/cmake ${PROJECT_SOURCE_DIR}/cmake/VeskPluginSources.cmake)
set(source_folders ${VESK_INCLUDE_DIRS})
foreach(source IN LISTS VESK_CORE_SOURCES VESK_HOST_SOURCES Vesk_KERNEL_SOURCES
                        Vesk_ENTRY_SOURCES Vesk2_KERNEL_SOURCES Vesk2_ENTRY_SOURCES)
  get_filename_component(folder "${source}" DIRECTORY)
  list(APPEND source_folders ${folder})
  vesk_release_files(src/${folder} ${PROJECT_SOURCE_DIR}/${source})
endforeach()
list(REMOVE_DUPLICATES source_folders)
foreach(folder IN LISTS source_folders)
  file(GLOB headers ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  vesk_release_files(src/${folder} ${headers})
endforeach()

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
# Packs into a folder of its own and checks the listing and every file's
# bytes; leaves the archive unpacked there for the Octave test of it
# (octave_release_suite).
add_test(NAME release_archive
         COMMAND ${CMAKE_COMMAND} -DCPACK=${CMAKE_CPACK_COMMAND}
                 -DCONFIG=${CMAKE_BINARY_DIR}/CPackConfig.cmake
                 -DWORK=${CMAKE_BINARY_DIR}/release-archive-test
                 -DARCHIVE=vesk-${PROJECT_VERSION}.zip -DTOP=vesk-${PROJECT_VERSION}
                 "-DEXPECTED=${release_files}"
                 -P ${CMAKE_CURRENT_LIST_DIR}/check-release-archive.cmake)
set_tests_properties(release_archive PROPERTIES FIXTURES_SETUP release_archive)
