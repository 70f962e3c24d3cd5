## Vesk2 called as an Octave user calls it, compared bit for bit with
## reference_vesk2. Run with run_suite ("vesk2_suite.m").

%!function check_vesk2 (img, what)
%!  [smap, level] = Vesk2 (img);
%!  [want_smap, want_level] = reference_vesk2 (img);
%!  assert_same_bits (smap, want_smap, [what " smap"]);
%!  assert_same_bits (level, want_level, [what " level"]);
%!endfunction

## Worked examples, with their outputs written out by hand.
%!test
%! [smap, level] = Vesk2 ([0 0 0 2 3] / 255);
%! assert_same_bits (smap, [-5 -5 -5 7 10] / 10);
%! assert_same_bits (level, 0);
%!test
%! ## 0 and 1 tie: the lower level is the least-contrast one.
%! [smap, level] = Vesk2 ([0 1]);
%! assert_same_bits (smap, [-1 1]);
%! assert_same_bits (level, 0);
%!test
%! ## One level: -0 everywhere (0 / 0.001, at the least-contrast level).
%! [smap, level] = Vesk2 (repmat (0.5, 3, 4));
%! assert_same_bits (smap, -zeros (3, 4));
%! assert_same_bits (level, 127 / 255);
%!test
%! ## Below the least-contrast level negative, above it positive.
%! [smap, level] = Vesk2 ([0 100 100 100 200] / 255);
%! assert_same_bits (level, 100 / 255);
%! assert (smap(1) < 0 && smap(5) > 0 && all (smap(2:4) < 0 | (smap(2:4) == 0 & 1 ./ smap(2:4) < 0)));

## Edge cases: each row an input that must match the reference.
%!test
%! cases = vesk2_edge_cases ();
%! for k = 1:rows (cases)
%!   check_vesk2 (cases{k, 1}, cases{k, 2});
%! endfor
%!test
%! [smap, level] = Vesk2 (zeros (0, 3));
%! assert (size (smap), [0, 3]);
%! assert_same_bits (level, 0);

## Random images of many shapes and kinds.
%!test
%! images = random_images (1);
%! for k = 1:numel (images)
%!   check_vesk2 (images{k}, sprintf ("random image %d (%s)", k, mat2str (size (images{k}))));
%! endfor

## The bundled photographs, scaled to 0..1 the two usual ways.
%!test
%! camera = photograph ("camera.png");
%! check_vesk2 (double (camera) / 255, "camera.png / 255");
%! check_vesk2 (im2double (camera), "im2double (camera.png)");
%! check_vesk2 (im2double (rgb2gray (photograph ("astronaut.png"))), "astronaut.png");

## The calling forms.
%!test
%! img = im2double (photograph ("camera.png"));
%! [smap, level] = Vesk2 (img);
%! assert_same_bits (Vesk2 (img), smap, "smap = Vesk2 (img)");
%! Vesk2 (img);
%! assert_same_bits (ans, smap, "Vesk2 (img) into ans");
%! [~, only_level] = Vesk2 (img);
%! assert_same_bits (only_level, level, "[~, level] = Vesk2 (img)");
%! copy = img + 0;
%! [~, ~] = Vesk2 (img);
%! assert_same_bits (img, copy, "input after the call");
