# Builds the release archive with CPack in WORK and checks that it holds
# exactly the EXPECTED files, in one folder TOP, each identical to its source;
# leaves it unpacked in WORK/unpacked. EXPECTED lists FOLDER|FILE: FILE's
# name in the folder FOLDER under TOP ("." for TOP itself).
#   cmake -DCPACK=... -DCONFIG=... -DWORK=... -DARCHIVE=... -DTOP=...
#         -DEXPECTED=a|b;c|d;... -P check-release-archive.cmake
cmake_minimum_required(VERSION 3.25)  # the list commands keep empty elements
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

# entry_<n>, file_<n>: the archive's path and the source of each expected file.
set(expected_entries)
set(count 0)
foreach(pair ${EXPECTED})
  string(FIND "${pair}" "|" bar)
  string(SUBSTRING "${pair}" 0 ${bar} folder)
  math(EXPR after "${bar} + 1")
  string(SUBSTRING "${pair}" ${after} -1 file)
  get_filename_component(name "${file}" NAME)
  if(folder STREQUAL ".")
    set(entry ${TOP}/${name})
  else()
    set(entry ${TOP}/${folder}/${name})
  endif()
  math(EXPR count "${count} + 1")
  set(entry_${count} ${entry})
  set(file_${count} ${file})
  list(APPEND expected_entries ${entry})
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
foreach(n RANGE 1 ${count})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${file_${n}} ${WORK}/unpacked/${entry_${n}}
                  RESULT_VARIABLE differs)
  if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${entry_${n}} in the archive differs from ${file_${n}}")
  endif()
endforeach()
message(STATUS "the archive holds exactly the release files")
