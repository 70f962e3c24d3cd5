## The Octave package installs with pkg into a prefix of its own, loads, and
## both functions work and have their help. Run with run_suite ("package_suite.m").

%!test
%! file = getenv ("VESK_PACKAGE_FILE");
%! assert (isfile (file), file);
%! prefix = tempname ();
%! mkdir (prefix);
%! ## The package's plug-ins must be the ones found, not the build folder's.
%! rmpath (getenv ("VESK_OCTAVE_DIR"));
%! unwind_protect
%!   pkg ("prefix", prefix, prefix);
%!   pkg ("local_list", fullfile (prefix, "octave_packages"));
%!   pkg ("install", "-local", file);
%!   ## Other packages may be installed globally (octave-image often is).
%!   installed = cellfun (@(p) p.name, pkg ("list"), "UniformOutput", false);
%!   assert (sum (strcmp (installed, "vesk")), 1);
%!   pkg ("load", "vesk");
%!
%!   assert (strncmp (which ("Vesk"), prefix, numel (prefix)), true, which ("Vesk"));
%!   assert (! isempty (regexp (which ("Vesk2"), '\.mex$', "once")), which ("Vesk2"));
%!   [map, dist] = Vesk ([0 0 0 2 3]);
%!   assert_same_bits (map, [5 5 5 7 10] / 10);
%!   assert_same_bits (dist([51 71 101]), [3; 1; 0]);
%!   [smap, level] = Vesk2 ([0 0 0 2 3] / 255);
%!   assert_same_bits (smap, [-5 -5 -5 7 10] / 10);
%!   assert_same_bits (level, 0);
%!   camera = double (photograph ("camera.png"));
%!   [want_map, want_dist] = reference_vesk (camera);
%!   [map, dist] = Vesk (camera);
%!   assert_same_bits (map, want_map, "camera map");
%!   assert_same_bits (dist(1:100), want_dist(1:100), "camera dist");
%!   assert_same_bits (Vesk2 (photograph ("camera.png")), Vesk2 (camera / 255), "uint8 smap");
%!   try
%!     Vesk2 (int32 (camera));
%!     error ("int32 input was not rejected");
%!   catch err
%!     assert (err.identifier, "Vesk2:unsupportedClass");
%!   end_try_catch
%!   assert (! isempty (strfind (get_help_text ("Vesk"), "[MAP, DIST] = Vesk(IMG)")));
%!   assert (! isempty (strfind (get_help_text ("Vesk2"), "[SMAP, LEVEL] = Vesk2(IMG)")));
%!
%!   pkg ("unload", "vesk");
%!   pkg ("uninstall", "-local", "vesk");
%!   assert (! any (strcmp (cellfun (@(p) p.name, pkg ("list"), "UniformOutput", false), "vesk")));
%! unwind_protect_cleanup
%!   addpath (getenv ("VESK_OCTAVE_DIR"));
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (prefix, "s");
%! end_unwind_protect
