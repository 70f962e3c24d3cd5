# The help text of a help file (Vesk.m) as a C++ header for the
# Octave-native function of the same name: Octave shows a .oct function's own
# help text, not that of the .m file beside it. The text is what `help` shows
# for the .m file: its first comment block, one '%' taken off each line.
#
# As a script: cmake -DHELP_FILE=<Vesk.m> -DHEADER=<vesk_help.h> -P help_header.cmake
# writes HEADER with `static const char kVeskHelp[]`. Included, it defines
# vesk_write_help_header(HELP_FILE HEADER) for other scripts.
function(vesk_write_help_header help_file header)
  get_filename_component(name "${help_file}" NAME_WE)
  file(READ "${help_file}" text)
  string(REPLACE "\r" "" text "${text}")
  # The first comment block, before or after the function line.
  string(REGEX MATCH "(^|\n)(%[^\n]*\n)+" block "${text}")
  if(block STREQUAL "")
    message(FATAL_ERROR "${help_file} has no comment block")
  endif()
  string(REGEX REPLACE "^\n" "" block "${block}")
  string(REGEX REPLACE "(^|\n)%" "\\1" block "${block}")
  string(REPLACE "\\" "\\\\" block "${block}")
  string(REPLACE "\"" "\\\"" block "${block}")
  string(REGEX REPLACE "\n$" "" block "${block}")
  string(REPLACE "\n" "\\n\"\n    \"" block "${block}")
  get_filename_component(source_name "${help_file}" NAME)
  set(content "// Generated from ${source_name} by help_header.cmake: the text `help ${name}` shows.\n")
  string(APPEND content "static const char k${name}Help[] =\n    \"${block}\\n\";\n")
  # Rewritten only when it changes, so that the plug-ins are not rebuilt for nothing.
  if(EXISTS "${header}")
    file(READ "${header}" old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${header}" "${content}")
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  vesk_write_help_header("${HELP_FILE}" "${HEADER}")
endif()
