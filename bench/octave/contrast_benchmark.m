function contrast_benchmark (mexDir, nativeDir, csvFile)
  addpath (fileparts (mfilename ("fullpath")));
  mex = functions_in (mexDir, {"Vesk", "Vesk2", "host_floor"});
  native = functions_in (nativeDir, {"Vesk", "Vesk2", "native_floor"});
  addpath (mexDir);  # the photograph and folder passes call the MEX files by name
  ## name, function, input (1: grey levels, 2: intensities, 3: uint8 levels)
  variants = {
    "Vesk",                mex.Vesk,            1
    "Vesk2",               mex.Vesk2,           2
    "floor",               mex.host_floor,      1
    "native_Vesk",         native.Vesk,         1
    "native_Vesk2",        native.Vesk2,        2
    "native_floor",        native.native_floor, 1
    "uint8_Vesk",          mex.Vesk,            3
    "uint8_Vesk2",         mex.Vesk2,           3
    "uint8_floor",         mex.host_floor,      3
    "native_uint8_Vesk",   native.Vesk,         3
    "native_uint8_Vesk2",  native.Vesk2,        3
    "native_uint8_floor",  native.native_floor, 3
    "vesk_vectorised",     @vesk_vectorised,    1
    "vesk2_vectorised",    @vesk2_vectorised,   2
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
    inputs{3} = uint8 (inputs{1});
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
    write_medians (out, variants(:, 1), side, times);
  endfor
  uint8_photograph (out);
  folder_pass (out);
  fclose (out);
endfunction

## The bundled photograph scaled to side x side by nearest neighbour, uint8,
## as imread gives it.
function img = photograph_of_side (name, side)
  state = warning ("off", "all");  # astronaut.png's colour profile draws a harmless warning
  img = imread (fullfile (fileparts (fileparts (fileparts (mfilename ("fullpath")))), "data", name));
  warning (state);
  if (ndims (img) == 3)
    img = rgb2gray (img);
  endif
  img = img(ceil ((1:side) * rows (img) / side), ceil ((1:side) * columns (img) / side));
endfunction

## Vesk and Vesk2 on a uint8 image, against the conversion followed by the
## double call and against the floor for a uint8 input; interleaved.
function uint8_photograph (out)
  side = 2048;
  repetitions = 21;
  img = photograph_of_side ("camera.png", side);
  names = {"uint8/Vesk", "uint8/Vesk_of_double", "uint8/Vesk2", "uint8/Vesk2_of_im2double", ...
           "uint8/floor", "uint8/floor_of_double"};
  times = zeros (repetitions, numel (names));
  for r = 1:repetitions
    tic; [map, second] = Vesk (img); times(r, 1) = toc;
    tic; [map, second] = Vesk (double (img)); times(r, 2) = toc;
    tic; [map, second] = Vesk2 (img); times(r, 3) = toc;
    tic; [map, second] = Vesk2 (im2double (img)); times(r, 4) = toc;
    tic; [map, second] = host_floor (img); times(r, 5) = toc;
    tic; [map, second] = host_floor (double (img)); times(r, 6) = toc;
    clear map second;
  endfor
  write_medians (out, names, side, times);
endfunction

## imread of every photograph in a folder, alone, followed by Vesk, and
## followed by the host's floor for a uint8 input (what any plug-in that
## returns a double map of the image costs); the folder holds the bundled
## photographs in grey at several sizes, as PNG.
function folder_pass (out)
  folder = tempname ();
  mkdir (folder);
  unwind_protect
    files = {};
    for name = {"camera.png", "astronaut.png"}
      for side = [512 1024 1536 2048]
        files{end+1} = fullfile (folder, sprintf ("%d-%s", side, name{1}));
        imwrite (photograph_of_side (name{1}, side), files{end});
      endfor
    endfor
    repetitions = 9;
    times = zeros (repetitions, 3);
    for r = 1:repetitions
      tic;
      for f = 1:numel (files)
        img = imread (files{f});
      endfor
      times(r, 1) = toc;
      tic;
      for f = 1:numel (files)
        [map, dist] = Vesk (imread (files{f}));
      endfor
      times(r, 2) = toc;
      tic;
      for f = 1:numel (files)
        [map, dist] = host_floor (imread (files{f}));
      endfor
      times(r, 3) = toc;
    endfor
    write_medians (out, {"folder/imread", "folder/imread_Vesk", "folder/imread_floor"},
                   numel (files), times);
  unwind_protect_cleanup
    confirm_recursive_rmdir (false, "local");
    rmdir (folder, "s");
  end_unwind_protect
endfunction

function write_medians (out, names, side, times)
  for v = 1:numel (names)
    fprintf (out, "%s,%d,%.9g,%d\n", names{v}, side, median (times(:, v)), rows (times));
    printf ("octave %-26s %5d: %9.3f ms\n", names{v}, side, 1e3 * median (times(:, v)));
  endfor
endfunction

## The alternatives compute the same maps as the MEX calls, bit for bit.
function check_same_maps (mex, native, inputs)
  same = @(a, b) isequal (typecast (a(:), "uint64"), typecast (b(:), "uint64"));
  ## alternative, its name, the MEX call, input
  pairs = {native.Vesk,      "native Vesk",       mex.Vesk,  1
           native.Vesk2,     "native Vesk2",      mex.Vesk2, 2
           native.Vesk,      "native Vesk, uint8", mex.Vesk,  3
           native.Vesk2,     "native Vesk2, uint8", mex.Vesk2, 3
           @vesk_vectorised,  "vesk_vectorised",   mex.Vesk,  1
           @vesk2_vectorised, "vesk2_vectorised",  mex.Vesk2, 2};
  for p = 1:rows (pairs)
    img = inputs{pairs{p, 4}};
    if (! same (pairs{p, 1} (img), pairs{p, 3} (img)))
      error ("contrast_benchmark: %s gives another map than the MEX call", pairs{p, 2});
    endif
  endfor
endfunction
