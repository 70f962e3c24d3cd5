## contrast_benchmark (mexDir, nativeDir, csvFile): times, in one Octave
## session, the calls of both builds (the MEX files in mexDir, the
## Octave-native functions in nativeDir), each build's floor (a function
## that only creates the same outputs and copies the input: host_floor.mex,
## native_floor.oct) and the vectorised scripts a user would write instead,
## on random images of 512^2, 2048^2 and 4096^2 elements. Writes one line per
## measurement: what,side,median seconds,repetitions. The MEX calls keep
## their names (Vesk, Vesk2, floor); the native ones are native_Vesk,
## native_Vesk2 and native_floor.
function contrast_benchmark (mexDir, nativeDir, csvFile)
  addpath (fileparts (mfilename ("fullpath")));
  mex = functions_in (mexDir, {"Vesk", "Vesk2", "host_floor"});
  native = functions_in (nativeDir, {"Vesk", "Vesk2", "native_floor"});
  ## name, function, input (1: grey levels, 2: intensities)
  variants = {
    "Vesk",             mex.Vesk,           1
    "Vesk2",            mex.Vesk2,          2
    "floor",            mex.host_floor,     1
    "native_Vesk",      native.Vesk,        1
    "native_Vesk2",     native.Vesk2,       2
    "native_floor",     native.native_floor, 1
    "vesk_vectorised",  @vesk_vectorised,   1
    "vesk2_vectorised", @vesk2_vectorised,  2
  };
  sides = [512 2048 4096];
  repetitions = [41 15 7];
  out = fopen (csvFile, "w");
  fprintf (out, "what,side,seconds,repetitions\n");
  rand ("seed", 20261210);
  for s = 1:numel (sides)
    side = sides(s);
    inputs = {floor(rand (side) * 256)};
    inputs{2} = inputs{1} / 255;
    check_same_maps (mex, native, inputs);
    times = zeros (repetitions(s), rows (variants));
    for r = 1:repetitions(s)
      ## Interleaved, so that the machine's drift hits every variant alike.
      for v = 1:rows (variants)
        img = inputs{variants{v, 3}};
        tic; [map, second] = variants{v, 2} (img); times(r, v) = toc;
        clear map second;
      endfor
    endfor
    for v = 1:rows (variants)
      fprintf (out, "%s,%d,%.9g,%d\n", variants{v, 1}, side, median (times(:, v)), repetitions(s));
      printf ("octave %-17s %5d^2: %9.3f ms\n", variants{v, 1}, side, 1e3 * median (times(:, v)));
    endfor
  endfor
  fclose (out);
endfunction

## The alternatives compute the same maps as the MEX calls, bit for bit.
function check_same_maps (mex, native, inputs)
  same = @(a, b) isequal (typecast (a(:), "uint64"), typecast (b(:), "uint64"));
  ## alternative, its name, the MEX call, input
  pairs = {native.Vesk,      "native Vesk",      mex.Vesk,  1
           native.Vesk2,     "native Vesk2",     mex.Vesk2, 2
           @vesk_vectorised,  "vesk_vectorised",  mex.Vesk,  1
           @vesk2_vectorised, "vesk2_vectorised", mex.Vesk2, 2};
  for p = 1:rows (pairs)
    img = inputs{pairs{p, 4}};
    if (! same (pairs{p, 1} (img), pairs{p, 3} (img)))
      error ("contrast_benchmark: %s gives another map than the MEX call", pairs{p, 2});
    endif
  endfor
endfunction
