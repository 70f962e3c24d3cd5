# Fuzzing build (VESK_FUZZ=ON, clang only): the host and the plug-ins are
# instrumented for libFuzzer with AddressSanitizer and UBSan, and the fuzz
# targets in fuzz/ drive the built plug-in libraries through the stand-in host.
#
# The sanitizer runtime is linked as a shared library, so that the plug-ins
# still link with --no-undefined: their sanitizer and coverage calls resolve
# against it.

if(VESK_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VESK_FUZZ needs clang (-DCMAKE_CXX_COMPILER=clang++)")
  endif()
  if(VESK_SANITIZE)
    message(FATAL_ERROR "VESK_FUZZ brings its own sanitizers; leave VESK_SANITIZE off")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer -g)
  add_link_options(-fsanitize=address,undefined -shared-libsan)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libclang_rt.asan-x86_64.so
                  OUTPUT_VARIABLE VESK_SANITIZER_RUNTIME OUTPUT_STRIP_TRAILING_WHITESPACE)
  get_filename_component(VESK_SANITIZER_RUNTIME_DIR "${VESK_SANITIZER_RUNTIME}" DIRECTORY)
  add_subdirectory(${PROJECT_SOURCE_DIR}/fuzz ${PROJECT_BINARY_DIR}/fuzz)
endif()
