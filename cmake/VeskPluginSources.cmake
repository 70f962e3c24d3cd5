# The sources of the two plug-ins, relative to the project root. This is the
# one list: the CMake targets, the Octave build, the Octave package's Makefile
# (through a generated plugin_sources.mk) and matlab/build_mex.m (which reads
# the set() lines of this file) all build from it. Adding a source file to a
# plug-in is one edit here. Keep each set() on its own lines as below.
# VESK_ names what the project shares; a plug-in's own lists start with its
# function's name (Vesk_, Vesk2_).
set(VESK_CORE_SOURCES core/contrast_table.cpp)
set(VESK_HOST_SOURCES host/call_checks.cpp host/mex_gateway.cpp)
set(Vesk_KERNEL_SOURCES plugins/vesk/absolute_contrast.cpp)
set(Vesk_ENTRY_SOURCES plugins/vesk/vesk_mex.cpp)
set(Vesk2_KERNEL_SOURCES plugins/vesk2/signed_contrast.cpp)
set(Vesk2_ENTRY_SOURCES plugins/vesk2/vesk2_mex.cpp)
# Header folders, each plug-in's own folder besides.
set(VESK_INCLUDE_DIRS core host)
# The Octave-native functions (Vesk.oct, Vesk2.oct, built by mkoctfile): the
# same kernels and checks as above, the Octave gateway instead of the MEX one.
set(VESK_OCTAVE_HOST_SOURCES host/call_checks.cpp host/octave_gateway.cpp)
set(Vesk_OCTAVE_ENTRY_SOURCES plugins/vesk/vesk_oct.cpp)
set(Vesk2_OCTAVE_ENTRY_SOURCES plugins/vesk2/vesk2_oct.cpp)
