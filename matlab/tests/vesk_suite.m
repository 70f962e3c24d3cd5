## Vesk called as an Octave user calls it, compared bit for bit with
## reference_vesk. Run with run_suite ("vesk_suite.m").

%!function check_vesk (img, what)
%!  [map, dist] = Vesk (img);
%!  [want_map, want_dist] = reference_vesk (img);
%!  assert_same_bits (map, want_map, [what " map"]);
%!  assert_same_bits (dist, want_dist, [what " dist"]);
%!endfunction

## Worked examples, with their outputs written out by hand.
%!test
%! [map, dist] = Vesk ([0 0 0 2 3]);
%! assert_same_bits (map, [5 5 5 7 10] / 10);
%! want = zeros (101, 1);  want(51) = 3;  want(71) = 1;
%! assert_same_bits (dist, want);
%!test
%! ## 29 / 50 * 100 is 57.99999999999999: bucket 57.
%! [map, dist] = Vesk ([0 8 29]);
%! assert_same_bits (map, [37 29 50] / 50);
%! want = zeros (101, 1);  want(58) = 1;  want(75) = 1;  want(101) = 8 / 255;
%! assert_same_bits (dist, want);
%!test
%! ## One level: all zeros, every element in bucket 0.
%! [map, dist] = Vesk (repmat (7, 3, 4));
%! assert_same_bits (map, zeros (3, 4));
%! want = zeros (101, 1);  want(1) = 12;  want(101) = 7 / 255;
%! assert_same_bits (dist, want);
%!test
%! ## 0 and 255 tie for the smallest contrast: the lower level is element 101.
%! [map, dist] = Vesk ([0; 255]);
%! assert_same_bits (map, [1; 1]);
%! assert_same_bits (dist, zeros (101, 1));
%!test
%! ## Ties of the smallest contrast take the lowest tied level, whatever the
%! ## C library's sort does with equal contrasts.
%! ties = {[0 0 255 255], 0; 0:9, 4; [10 20 30 40], 20; [0 100 155 255], 100;
%!         reshape(0:255, 16, 16), 127; [3 3 252 252 100 155], 100};
%! for k = 1:rows (ties)
%!   [~, dist] = Vesk (ties{k, 1});
%!   assert_same_bits (dist(101), ties{k, 2} / 255, sprintf ("tie case %d", k));
%!   check_vesk (ties{k, 1}, sprintf ("tie case %d", k));
%! endfor
%!test
%! ## Random images made to tie: every level v with its mirror 255 - v.
%! rand ("seed", 22);
%! for k = 1:50
%!   half = 127 - floor (rand (1, 1 + floor (rand * 40)) * (1 + floor (rand * 128)));
%!   img = [half, 255 - half](randperm (2 * numel (half)));
%!   [~, dist] = Vesk (img);
%!   assert (dist(101) * 255 <= 127, "the higher of a tied pair");
%!   check_vesk (img, sprintf ("mirrored image %d", k));
%! endfor

## Edge cases: each row an input that must match the reference.
%!test
%! cases = vesk_edge_cases ();
%! for k = 1:rows (cases)
%!   check_vesk (cases{k, 1}, cases{k, 2});
%! endfor
%!test
%! ## Element k of the map belongs to element k of the input, whatever the shape.
%! img = [0 0 0; 2 3 0];
%! [map, ~] = Vesk (img);
%! [row_map, ~] = Vesk (img(:)');
%! assert_same_bits (map, reshape (row_map, 2, 3));

## Random images of many shapes and kinds.
%!test
%! images = random_images (255);
%! for k = 1:numel (images)
%!   check_vesk (images{k}, sprintf ("random image %d (%s)", k, mat2str (size (images{k}))));
%! endfor

## The bundled photographs, as read from disk.
%!test
%! camera = double (photograph ("camera.png"));
%! check_vesk (camera, "camera.png");
%! check_vesk (double (rgb2gray (photograph ("astronaut.png"))), "astronaut.png");
%! check_vesk (camera(1:2:end, :)', "camera.png, odd rows, transposed");
%!test
%! ## Elements 1..100 count every element except those at the largest contrast.
%! camera = double (photograph ("camera.png"));
%! [map, dist] = Vesk (camera);
%! assert (sum (dist(1:100)), numel (camera) - nnz (map == 1));
%! assert (max (map(:)), 1);

## The calling forms.
%!test
%! img = double (photograph ("camera.png"));
%! [map, dist] = Vesk (img);
%! one = Vesk (img);
%! assert_same_bits (one, map, "map = Vesk (img)");
%! Vesk (img);
%! assert_same_bits (ans, map, "Vesk (img) into ans");
%! [~, only_dist] = Vesk (img);
%! assert_same_bits (only_dist, dist, "[~, dist] = Vesk (img)");
%!test
%! ## The input is left as it was.
%! img = double (photograph ("camera.png"));
%! copy = img + 0;
%! [~, ~] = Vesk (img);
%! assert_same_bits (img, copy, "input after the call");
