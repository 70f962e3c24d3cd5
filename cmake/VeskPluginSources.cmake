# The sources of the two plug-ins, relative to the project root. This is the
# one list: the CMake targets, the Octave build, the Octave package's Makefile
# (through a generated plugin_sources.mk) and matlab/build_mex.m (which reads
# the set() lines of this file) all build from it. Adding a source file to a
# plug-in is one edit here. Keep each set() on its own lines as below.
set(VESK_CORE_SOURCES core/contrast_table.cpp)
set(VESK_HOST_SOURCES host/call_checks.cpp host/contrast_gateway.cpp)
set(VESK_KERNEL_SOURCES plugins/vesk/absolute_contrast.cpp)
set(VESK_ENTRY_SOURCES plugins/vesk/vesk_mex.cpp)
set(VESK2_KERNEL_SOURCES plugins/vesk2/signed_contrast.cpp)
set(VESK2_ENTRY_SOURCES plugins/vesk2/vesk2_mex.cpp)
# Header folders, each plug-in's own folder besides.
set(VESK_INCLUDE_DIRS core host)
# The Octave-native functions (Vesk.oct, Vesk2.oct, built by mkoctfile): the
# same kernels and checks as above, the Octave gateway instead of the MEX one.
set(VESK_OCTAVE_HOST_SOURCES host/call_checks.cpp host/octave_gateway.cpp)
set(VESK_OCTAVE_ENTRY_SOURCES plugins/vesk/vesk_oct.cpp)
set(VESK2_OCTAVE_ENTRY_SOURCES plugins/vesk2/vesk2_oct.cpp)
