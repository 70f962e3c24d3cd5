## build_mex.m compiles both plug-ins with Octave's mex command into a
## folder of its own; they give the same bits as the CMake-built ones.
## Run with run_suite ("build_mex_suite.m").

%!test
%! output = tempname ();
%! unwind_protect
%!   ## At the end: the help-only Vesk.m there must not shadow the plug-ins.
%!   addpath (fullfile (getenv ("VESK_SOURCE_DIR"), "matlab"), "-end");
%!   build_mex (output);
%!   assert (isfile (fullfile (output, "Vesk.mex")));
%!   assert (isfile (fullfile (output, "Vesk2.mex")));
%!
%!   camera = double (photograph ("camera.png"));
%!   [map, dist] = Vesk (camera);
%!   [smap, level] = Vesk2 (camera / 255);
%!   built = getenv ("VESK_OCTAVE_DIR");
%!   assert (which ("Vesk"), fullfile (built, "Vesk.mex"));
%!
%!   addpath (output);
%!   assert (which ("Vesk"), fullfile (output, "Vesk.mex"));
%!   assert (which ("Vesk2"), fullfile (output, "Vesk2.mex"));
%!   [map2, dist2] = Vesk (camera);
%!   [smap2, level2] = Vesk2 (camera / 255);
%!   assert_same_bits (map2, map, "Vesk map");
%!   assert_same_bits (dist2, dist, "Vesk dist");
%!   assert_same_bits (smap2, smap, "Vesk2 smap");
%!   assert_same_bits (level2, level, "Vesk2 level");
%!   assert_same_bits (Vesk (uint8 (camera)), map, "Vesk map of the uint8 image");
%!   try
%!     refused = refused_integer_classes ();
%!     Vesk (cast (camera, refused{1, 1}));
%!     error ("%s input was not rejected", refused{1, 1});
%!   catch err
%!     assert (err.identifier, "Vesk:unsupportedClass");
%!   end_try_catch
%! unwind_protect_cleanup
%!   rmpath (output);
%!   confirm_recursive_rmdir (false, "local");
%!   if (exist (output, "dir"))
%!     rmdir (output, "s");
%!   endif
%! end_unwind_protect
