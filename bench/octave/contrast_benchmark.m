## contrast_benchmark (mexDir, csvFile): times, in one Octave session, the
## plug-in calls, the host's floor (a MEX file that only creates the same
## outputs and copies the input) and the vectorised scripts a user would
## write instead, on random images of 512^2, 2048^2 and 4096^2 elements.
## Writes one line per measurement: what,side,median seconds,repetitions.
function contrast_benchmark (mexDir, csvFile)
  addpath (mexDir);
  addpath (fileparts (mfilename ("fullpath")));
  sides = [512 2048 4096];
  repetitions = [41 15 7];
  names = {"Vesk", "Vesk2", "floor", "vesk_vectorised", "vesk2_vectorised"};
  out = fopen (csvFile, "w");
  fprintf (out, "what,side,seconds,repetitions\n");
  rand ("seed", 20261210);
  for s = 1:numel (sides)
    side = sides(s);
    levels = floor (rand (side) * 256);
    intensities = levels / 255;
    check_same_maps (levels, intensities);
    times = zeros (repetitions(s), numel (names));
    for r = 1:repetitions(s)
      ## Interleaved, so that the machine's drift hits every variant alike.
      tic; [map, second] = Vesk (levels); times(r, 1) = toc;
      tic; [map, second] = Vesk2 (intensities); times(r, 2) = toc;
      tic; [map, second] = host_floor (levels); times(r, 3) = toc;
      tic; [map, second] = vesk_vectorised (levels); times(r, 4) = toc;
      tic; [map, second] = vesk2_vectorised (intensities); times(r, 5) = toc;
      clear map second;
    endfor
    for v = 1:numel (names)
      fprintf (out, "%s,%d,%.9g,%d\n", names{v}, side, median (times(:, v)), repetitions(s));
      printf ("octave %-17s %5d^2: %9.3f ms\n", names{v}, side, 1e3 * median (times(:, v)));
    endfor
  endfor
  fclose (out);
endfunction

## The alternatives compute the same maps, bit for bit.
function check_same_maps (levels, intensities)
  same = @(a, b) isequal (typecast (a(:), "uint64"), typecast (b(:), "uint64"));
  if (! same (Vesk (levels), vesk_vectorised (levels)))
    error ("contrast_benchmark: vesk_vectorised gives another map than Vesk");
  endif
  if (! same (Vesk2 (intensities), vesk2_vectorised (intensities)))
    error ("contrast_benchmark: vesk2_vectorised gives another map than Vesk2");
  endif
endfunction
