## Images of every class the plug-ins take, as an Octave user holds them:
## each call gives, bit for bit, the host's conversion followed by the
## double call (Vesk: double (im2uint8 (img)) for the integer classes and
## logical; Vesk2: im2double (img)). And the scale warnings: raised where
## meant, silenced by identifier. Run with run_suite ("classes_suite.m").

%!shared image_package
%! pkg load image  # im2uint8, im2uint16, im2int16, im2single
%! image_package = true;

## [FIRST, SECOND, WARNING] = call_quietly (NAME, IMG): both outputs and the
## identifier of the warning the call gave ("" for none), without printing it.
%!function [first, second, warned] = call_quietly (name, img)
%!  F = str2func (name);
%!  lastwarn ("", "");
%!  evalc ("[first, second] = F (img);");
%!  [~, warned] = lastwarn ();
%!endfunction

## The double image the documented conversion makes of IMG. An integer class
## without a rule of its own (uint8, uint16, int16 have theirs) maps its whole
## range onto the plug-in's, as a refused class's advice does.
%!function converted = as_double_call_takes (name, img)
%!  if (isinteger (img) && ! any (strcmp (class (img), {"uint8", "uint16", "int16"})))
%!    lowest = double (intmin (class (img)));
%!    range = double (intmax (class (img))) - lowest;
%!    converted = (double (img) - lowest) / (range / domain_top (name));
%!  elseif (strcmp (name, "Vesk2"))
%!    converted = im2double (img);
%!  elseif (isa (img, "double") || isa (img, "single") || isa (img, "uint8"))
%!    converted = double (img);
%!  else
%!    converted = double (im2uint8 (img));
%!  endif
%!endfunction

%!function top = domain_top (name)
%!  top = 1;
%!  if (strcmp (name, "Vesk"))
%!    top = 255;
%!  endif
%!endfunction

## Outputs and warning of the call on IMG, against those of the double call
## on its conversion.
%!function check_class (name, img, what)
%!  [first, second, warned] = call_quietly (name, img);
%!  [want_first, want_second, want_warned] = call_quietly (name, as_double_call_takes (name, img));
%!  what = sprintf ("%s on %s (%s %s)", name, what, class (img), mat2str (size (img)));
%!  assert_same_bits (first, want_first, [what ", first output"]);
%!  assert_same_bits (second, want_second, [what ", second output"]);
%!  assert (warned, want_warned, [what ", warning"]);
%!endfunction

## Every integer class the plug-ins take, over its whole range: a class
## taken by the whole-range rule is checked here without a line of its own;
## the refused ones are rejection_suite's.
%!test
%! for cls = {"int8", "uint8", "int16", "uint16", "int32", "uint32", "int64", "uint64"}
%!   lowest = double (intmin (cls{1}));
%!   img = cast (lowest + (0:1020) / 1020 * (double (intmax (cls{1})) - lowest), cls{1});
%!   for name = {"Vesk", "Vesk2"}
%!     F = str2func (name{1});
%!     try
%!       F (img(1));
%!     catch err
%!       assert (err.identifier, [name{1} ":unsupportedClass"]);
%!       continue;
%!     end_try_catch
%!     check_class (name{1}, img, "its whole range");
%!     check_class (name{1}, img', "its whole range");
%!   endfor
%! endfor

## The photographs, read with imread and made into every class.
%!test
%! images = photographs_in_every_class ();
%! for name = {"Vesk", "Vesk2"}
%!   for k = 1:rows (images)
%!     check_class (name{1}, images{k, 1}, images{k, 2});
%!   endfor
%! endfor

## Every value of the 8- and 16-bit classes, and the shapes with no elements.
%!test
%! for name = {"Vesk", "Vesk2"}
%!   check_class (name{1}, uint8 (0:255), "every value");
%!   check_class (name{1}, uint16 (0:65535), "every value");
%!   check_class (name{1}, int16 (-32768:32767)', "every value");
%!   check_class (name{1}, [true false true], "a few values");
%!   check_class (name{1}, single ([NaN Inf -Inf -0 1e-45 0.99999994 255.99998 256 3e9]), "edge values");
%!   for cls = {"uint8", "uint16", "int16", "single", "logical"}
%!     check_class (name{1}, cast (zeros (0, 3), cls{1}), "no elements");
%!     check_class (name{1}, cast (zeros (4, 0), cls{1}), "no elements");
%!     check_class (name{1}, cast (1, cls{1}), "one element");
%!   endfor
%! endfor

## Random images of every class against the reference.
%!test
%! images = random_images (255);
%! for k = 1:4:numel (images)
%!   levels = uint8 (images{k});
%!   if (isempty (levels))
%!     continue;  # im2uint16 and im2int16 take no empty image; see "no elements" above
%!   endif
%!   for img = {levels, im2uint16(levels), im2int16(levels), single(levels), levels > 127}
%!     [map, dist] = Vesk (img{1});
%!     [want_map, want_dist] = reference_vesk (as_double_call_takes ("Vesk", img{1}));
%!     assert_same_bits (map, want_map, sprintf ("Vesk map, %s image %d", class (img{1}), k));
%!     assert_same_bits (dist, want_dist, "Vesk dist");
%!     [smap, level] = Vesk2 (img{1});
%!     [want_smap, want_level] = reference_vesk2 (im2double (img{1}));
%!     assert_same_bits (smap, want_smap, sprintf ("Vesk2 smap, %s image %d", class (img{1}), k));
%!     assert_same_bits (level, want_level, "Vesk2 level");
%!   endfor
%! endfor

## The input is left as it was.
%!test
%! img = im2uint16 (photograph ("camera.png"));
%! copy = img + 0;
%! [~, ~] = Vesk (img);
%! [~, ~] = Vesk2 (img);
%! assert (isequal (img, copy) && strcmp (class (img), "uint16"));

## The warnings: on the wrong scale, not on the right one.
%!test
%! camera = photograph ("camera.png");
%! cases = {
%!   "Vesk",  im2double(camera),      "Vesk:intensityScale"
%!   "Vesk",  im2single(camera),      "Vesk:intensityScale"
%!   "Vesk",  [0 0.25 1],             "Vesk:intensityScale"
%!   "Vesk",  double(camera),         ""
%!   "Vesk",  camera,                 ""
%!   "Vesk",  [0 1; 1 0],             ""
%!   "Vesk",  double(camera > 100),   ""
%!   "Vesk",  [0 0 0 2 3],            ""
%!   "Vesk",  zeros(0, 3),            ""
%!   "Vesk2", double(camera),         "Vesk2:greyLevelScale"
%!   "Vesk2", single(camera),         "Vesk2:greyLevelScale"
%!   "Vesk2", [0 2 255],              "Vesk2:greyLevelScale"
%!   "Vesk2", im2double(camera),      ""
%!   "Vesk2", camera,                 ""
%!   "Vesk2", [0 1; 1 0],             ""
%!   "Vesk2", [0 0 0 2 3] / 255,      ""
%!   "Vesk2", [0 1],                  ""
%!   "Vesk2", [0 2 255.5],            ""
%! };
%! for k = 1:rows (cases)
%!   [~, ~, warned] = call_quietly (cases{k, 1}, cases{k, 2});
%!   assert (warned, cases{k, 3}, sprintf ("%s, case %d", cases{k, 1}, k));
%! endfor

## The message says what looks wrong, what to pass, and how to silence it;
## silenced by its identifier, the call gives the same outputs and no warning.
%!test
%! camera = photograph ("camera.png");
%! cases = {"Vesk", im2double(camera), "Vesk:intensityScale", "Vesk2(img)"
%!          "Vesk2", double(camera), "Vesk2:greyLevelScale", "Vesk2(img / 255)"};
%! for k = 1:rows (cases)
%!   [name, img, id, advice] = cases{k, :};
%!   state = warning ();
%!   unwind_protect
%!     F = str2func (name);
%!     text = evalc ("[first, second] = F (img);");
%!     for piece = {"every value of this double image", advice, ...
%!                  ["warning('off', '" id "')"]}
%!       assert (! isempty (strfind (text, piece{1})), "%s: \"%s\" lacks \"%s\"", id, text, piece{1});
%!     endfor
%!     warning ("off", id);
%!     lastwarn ("", "");
%!     text = evalc ("[quiet_first, quiet_second] = F (img);");
%!     assert (isempty (text), text);
%!     [~, warned] = lastwarn ();
%!     assert (warned, "");
%!     assert_same_bits (quiet_first, first, [id " silenced, first output"]);
%!     assert_same_bits (quiet_second, second, [id " silenced, second output"]);
%!     ## Made an error by its identifier, it ends the call as errors do.
%!     warning ("error", id);
%!     try
%!       F (img);
%!       error ("%s as an error did not end the call", id);
%!     catch err
%!       assert (err.identifier, id);
%!     end_try_catch
%!   unwind_protect_cleanup
%!     warning (state);
%!   end_unwind_protect
%! endfor
