## The Octave-native functions (Vesk.oct, Vesk2.oct) against the MEX files
## (Vesk.mex, Vesk2.mex) in one session: the same bits (-0 and element 101 of
## the distribution included) for the other suites' cases, random images and
## the photographs in every class the functions take, the same scale warnings,
## and the same identifier and message for every refused call; and nothing
## held after a call. Run with run_suite ("native_suite.m").

%!function check_same (native, mex, name, img, what)
%!  [first, second] = native.(name) (img);
%!  [want_first, want_second] = mex.(name) (img);
%!  assert_same_bits (first, want_first, sprintf ("%s, %s: first output", name, what));
%!  assert_same_bits (second, want_second, sprintf ("%s, %s: second output", name, what));
%!endfunction

%!function check_same_for_all (native, mex, name, images, what)
%!  for k = 1:numel (images)
%!    check_same (native, mex, name, images{k},
%!                sprintf ("%s %d (%s)", what, k, mat2str (size (images{k}))));
%!  endfor
%!endfunction

## The error CALL (which may use F and IMG) raises.
%!function err = refusal (F, call, img)
%!  try
%!    eval (call);
%!  catch err
%!    return;
%!  end_try_catch
%!  error ("%s was not refused", call);
%!endfunction

%!shared native, mex
%! pkg load image  # im2uint16, im2int16, im2single
%! mex = bind_handles (getenv ("VESK_OCTAVE_DIR"), ".mex");
%! native = bind_handles (getenv ("VESK_OCTAVE_NATIVE_DIR"), ".oct");

## Worked examples and the edge cases of vesk_suite and vesk2_suite.
%!test
%! images = [{[0 0 0 2 3], [0 8 29], repmat(7, 3, 4), [0; 255], 0:255}, ...
%!           vesk_edge_cases()(:, 1)'];
%! check_same_for_all (native, mex, "Vesk", images, "case");
%!test
%! images = [{[0 0 0 2 3] / 255, [0 1], repmat(0.5, 3, 4), [0 100 100 100 200] / 255, ...
%!            (0:255) / 255}, vesk2_edge_cases()(:, 1)'];
%! check_same_for_all (native, mex, "Vesk2", images, "case");

## Random images of many shapes and kinds.
%!test
%! check_same_for_all (native, mex, "Vesk", random_images (255), "random image");
%! check_same_for_all (native, mex, "Vesk2", random_images (1), "random image");

## The bundled photographs, and large images: above 8,421,505 elements a
## level's contrast no longer fits 32 bits.
%!test
%! camera = photograph ("camera.png");
%! astronaut = rgb2gray (photograph ("astronaut.png"));
%! check_same_for_all (native, mex, "Vesk",
%!                     {double(camera), double(astronaut), double(camera(1:2:end, :))'},
%!                     "photograph");
%! check_same_for_all (native, mex, "Vesk2",
%!                     {im2double(camera), double(camera) / 255, im2double(astronaut)},
%!                     "photograph");
%!test
%! rand ("state", 14);
%! levels = floor (rand (3000) * 256);
%! levels(1:7:end) = 255;
%! check_same (native, mex, "Vesk", levels, "3000 x 3000");
%! check_same (native, mex, "Vesk2", levels / 255, "3000 x 3000");
%! check_same (native, mex, "Vesk", kron (double (photograph ("camera.png")), ones (4)),
%!             "camera.png, 2048 x 2048");

## Every class the functions take: the photographs made into each, every
## value of the 8- and 16-bit classes, single edge values, random images, the
## shapes with no elements; the warnings included.
%!function check_same_with_warning (native, mex, name, img, what)
%!  [first, second, message, identifier] = call_quietly (native.(name), img);
%!  [want_first, want_second, want_message, want_identifier] = call_quietly (mex.(name), img);
%!  what = sprintf ("%s, %s (%s %s)", name, what, class (img), mat2str (size (img)));
%!  assert_same_bits (first, want_first, [what ": first output"]);
%!  assert_same_bits (second, want_second, [what ": second output"]);
%!  assert (identifier, want_identifier, [what ": warning identifier"]);
%!  assert (message, want_message, [what ": warning message"]);
%!endfunction
%!function [first, second, message, identifier] = call_quietly (F, img)
%!  lastwarn ("", "");
%!  evalc ("[first, second] = F (img);");
%!  [message, identifier] = lastwarn ();
%!endfunction

%!test
%! images = photographs_in_every_class ();
%! for name = {"Vesk", "Vesk2"}
%!   for k = 1:rows (images)
%!     check_same_with_warning (native, mex, name{1}, images{k, 1}, images{k, 2});
%!   endfor
%!   check_same_with_warning (native, mex, name{1}, uint8 (0:255), "every value");
%!   check_same_with_warning (native, mex, name{1}, uint16 (0:65535), "every value");
%!   check_same_with_warning (native, mex, name{1}, int16 (-32768:32767)', "every value");
%!   check_same_with_warning (native, mex, name{1},
%!                            single ([NaN Inf -Inf -0 1e-45 0.99999994 255.99998 256 3e9]),
%!                            "edge values");
%!   for cls = {"uint8", "uint16", "int16", "single", "logical"}
%!     for img = {cast(zeros (0, 3), cls{1}), cast(zeros (4, 0), cls{1}), cast(1, cls{1})}
%!       check_same_with_warning (native, mex, name{1}, img{1}, "a small shape");
%!     endfor
%!   endfor
%!   images = random_images (255);
%!   for k = 1:numel (images)
%!     levels = uint8 (images{k});
%!     for img = {levels, uint16(levels) * 257, int16(double (levels) * 257 - 32768), ...
%!                single(levels), levels > 127, double(levels) / 255}
%!       check_same_with_warning (native, mex, name{1}, img{1}, sprintf ("random image %d", k));
%!     endfor
%!   endfor
%! endfor

## The scale warnings: raised by both with the same words; silenced by both
## by identifier; made an error by identifier, the same error from both.
%!test
%! camera = photograph ("camera.png");
%! cases = {"Vesk", im2double(camera), "Vesk:intensityScale"
%!          "Vesk", im2single(camera), "Vesk:intensityScale"
%!          "Vesk2", double(camera), "Vesk2:greyLevelScale"
%!          "Vesk2", single(camera), "Vesk2:greyLevelScale"};
%! for k = 1:rows (cases)
%!   [name, img, id] = cases{k, :};
%!   [~, ~, message, identifier] = call_quietly (native.(name), img);
%!   assert (identifier, id);
%!   state = warning ("query", id);
%!   unwind_protect
%!     warning ("off", id);
%!     [~, ~, message, identifier] = call_quietly (native.(name), img);
%!     assert ({message, identifier}, {"", ""});
%!     warning ("error", id);
%!     got = refusal (native.(name), "F (img);", img);
%!     want = refusal (mex.(name), "F (img);", img);
%!     assert ({got.identifier, got.message}, {want.identifier, want.message});
%!     assert (got.identifier, id);
%!   unwind_protect_cleanup
%!     warning (state.state, id);
%!   end_unwind_protect
%! endfor

## The calling forms: one output, none (ans), only the second.
%!test
%! img = double (photograph ("camera.png"));
%! for name = {"Vesk", "Vesk2"}
%!   [want_first, want_second] = mex.(name{1}) (img / 255);
%!   first = native.(name{1}) (img / 255);
%!   assert_same_bits (first, want_first, [name{1} ": one output"]);
%!   native.(name{1}) (img / 255);
%!   assert_same_bits (ans, want_first, [name{1} ": into ans"]);
%!   [~, second] = native.(name{1}) (img / 255);
%!   assert_same_bits (second, want_second, [name{1} ": second output only"]);
%! endfor

## Every refused call of rejection_suite: the same identifier, and the same
## message word for word, from both builds.
%!test
%! cases = refused_calls ();
%! for name = {"Vesk", "Vesk2"}
%!   for k = 1:rows (cases)
%!     call = cases{k, 1};
%!     got = refusal (native.(name{1}), call);
%!     want = refusal (mex.(name{1}), call);
%!     assert (got.identifier, [name{1} ":" cases{k, 2}], call);
%!     assert (got.identifier, want.identifier, call);
%!     assert (got.message, want.message, call);
%!   endfor
%! endfor

## Nothing is held after a call, neither the scratch a kernel gives back
## (Vesk) nor what it leaves to the gateway (Vesk2), small or (from 2^23
## elements on) in 2 MiB pages, nor the outputs, nor what a refused call
## touched.
%!testif ; exist ("/proc/self/status", "file")
%! small = rand (1000) * 255;
%! large = rand (2900) * 255;  # 8,410,000 elements: a level array of 32 MiB
%! for warm = 1:3
%!   map = native.Vesk (large);  smap = native.Vesk2 (large / 255);
%! endfor
%! before = resident_kilobytes ();
%! for k = 1:5000
%!   try
%!     native.Vesk2 (uint8 (small(1:10, 1:10)));
%!   catch
%!   end_try_catch
%! endfor
%! for k = 1:100
%!   map = native.Vesk (small);
%!   smap = native.Vesk2 (small / 255);
%!   [map, dist] = native.Vesk (large);
%!   [smap, level] = native.Vesk2 (large / 255);
%! endfor
%! growth = resident_kilobytes () - before;
%! assert (growth < 100 * 1024, "resident size grew by %d kB", growth);
%!
%! ## A warning made an error ends the call after the kernel: Vesk2's scratch
%! ## is still released, and so are the outputs.
%! state = warning ("query", "Vesk2:greyLevelScale");
%! warning ("error", "Vesk2:greyLevelScale");
%! unwind_protect
%!   levels = floor (large);
%!   before = resident_kilobytes ();
%!   for k = 1:100
%!     try
%!       native.Vesk2 (levels);
%!       error ("no error");
%!     catch err
%!       assert (err.identifier, "Vesk2:greyLevelScale");
%!     end_try_catch
%!   endfor
%!   growth = resident_kilobytes () - before;
%!   assert (growth < 100 * 1024, "resident size grew by %d kB", growth);
%! unwind_protect_cleanup
%!   warning (state.state, "Vesk2:greyLevelScale");
%! end_unwind_protect

## The handles still call the builds they were bound to.
%!test
%! check_bound (mex, getenv ("VESK_OCTAVE_DIR"), ".mex");
%! check_bound (native, getenv ("VESK_OCTAVE_NATIVE_DIR"), ".oct");
