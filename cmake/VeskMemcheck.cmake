# Memcheck (VESK_MEMCHECK=ON): every GoogleTest program of this directory also runs
# whole under valgrind, as a test labelled "memcheck" that fails on any memory
# error or leak. Added at the end of the directory, so that programs added
# after this file is included are covered too. A program sets the target
# property VESK_MEMCHECK_GTEST_FILTER to leave out cases too big for valgrind.

function(vesk_add_memcheck_tests)
  find_program(VESK_VALGRIND valgrind)
  get_property(targets DIRECTORY PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    get_target_property(libraries ${target} LINK_LIBRARIES)
    if(NOT type STREQUAL "EXECUTABLE" OR NOT "GTest::gtest_main" IN_LIST libraries)
      continue()
    endif()
    if(NOT VESK_VALGRIND)
      add_test(NAME memcheck.${target} COMMAND ${CMAKE_COMMAND} -E echo "valgrind not found")
      set_tests_properties(memcheck.${target} PROPERTIES LABELS memcheck SKIP_REGULAR_EXPRESSION
                           "valgrind not found")
      continue()
    endif()
    get_target_property(filter ${target} VESK_MEMCHECK_GTEST_FILTER)
    if(NOT filter)
      set(filter "*")
    endif()
    add_test(NAME memcheck.${target}
             COMMAND ${VESK_VALGRIND} --tool=memcheck --error-exitcode=99 --leak-check=full
                     --show-leak-kinds=definite,indirect,possible
                     --errors-for-leak-kinds=definite,indirect,possible --num-callers=30
                     $<TARGET_FILE:${target}> --gtest_filter=${filter})
    set_tests_properties(memcheck.${target} PROPERTIES LABELS memcheck TIMEOUT 1200)
  endforeach()
endfunction()

if(VESK_MEMCHECK)
  cmake_language(DEFER CALL vesk_add_memcheck_tests)
endif()
