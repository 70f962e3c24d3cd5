## The Octave package installs with pkg into a prefix of its own, loads, and
## gives its user what check_installed_package lists, with the Octave-native
## functions; both functions give
## the worked examples' bits. Run with run_suite ("package_suite.m").

%!function check_results ()
%!  [map, dist] = Vesk ([0 0 0 2 3]);
%!  assert_same_bits (map, [5 5 5 7 10] / 10);
%!  assert_same_bits (dist([51 71 101]), [3; 1; 0]);
%!  [smap, level] = Vesk2 ([0 0 0 2 3] / 255);
%!  assert_same_bits (smap, [-5 -5 -5 7 10] / 10);
%!  assert_same_bits (level, 0);
%!  camera = double (photograph ("camera.png"));
%!  [want_map, want_dist] = reference_vesk (camera);
%!  [map, dist] = Vesk (camera);
%!  assert_same_bits (map, want_map, "camera map");
%!  assert_same_bits (dist(1:100), want_dist(1:100), "camera dist");
%!  assert_same_bits (Vesk2 (photograph ("camera.png")), Vesk2 (camera / 255), "uint8 smap");
%!  try
%!    refused = refused_integer_classes ();
%!    Vesk2 (cast (camera, refused{1, 1}));
%!    error ("%s input was not rejected", refused{1, 1});
%!  catch err
%!    assert (err.identifier, "Vesk2:unsupportedClass");
%!  end_try_catch
%!endfunction

%!test
%! ## The package's functions must be the ones found, not the build folder's.
%! rmpath (getenv ("VESK_FUNCTIONS_DIR"));
%! unwind_protect
%!   check_installed_package (getenv ("VESK_PACKAGE_FILE"), @check_results);
%! unwind_protect_cleanup
%!   addpath (getenv ("VESK_FUNCTIONS_DIR"));
%! end_unwind_protect
