# Builds the release archive with CPack in WORK and checks that it holds
# exactly the EXPECTED files, in one folder TOP, each identical to its source.
#   cmake -DCPACK=... -DCONFIG=... -DWORK=... -DARCHIVE=... -DTOP=...
#         -DEXPECTED=a;b;... -P check-release-archive.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${WORK}
                RESULT_VARIABLE packed OUTPUT_VARIABLE pack_output ERROR_VARIABLE pack_output)
if(NOT packed EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${pack_output}")
endif()

set(archive ${WORK}/${ARCHIVE})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${archive}
                RESULT_VARIABLE listed OUTPUT_VARIABLE listing)
if(NOT listed EQUAL 0)
  message(FATAL_ERROR "cannot list ${archive}")
endif()
string(REPLACE "\n" ";" entries "${listing}")
list(FILTER entries EXCLUDE REGEX "(^$|/$)")  # folders
list(SORT entries)

set(expected_entries)
foreach(file ${EXPECTED})
  get_filename_component(name ${file} NAME)
  list(APPEND expected_entries ${TOP}/${name})
endforeach()
list(SORT expected_entries)
message(STATUS "Archive ${ARCHIVE}:")
foreach(entry ${entries})
  message(STATUS "  ${entry}")
endforeach()
if(NOT entries STREQUAL expected_entries)
  message(FATAL_ERROR "the archive holds\n  ${entries}\nbut should hold\n  ${expected_entries}")
endif()

file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${archive} WORKING_DIRECTORY ${WORK}/unpacked
                RESULT_VARIABLE unpacked)
if(NOT unpacked EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${archive}")
endif()
foreach(file ${EXPECTED})
  get_filename_component(name ${file} NAME)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${file} ${WORK}/unpacked/${TOP}/${name}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${TOP}/${name} in the archive differs from ${file}")
  endif()
endforeach()
message(STATUS "the archive holds exactly the release files")
