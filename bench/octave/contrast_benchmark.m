## contrast_benchmark (mexDir, csvFile): times, in one Octave session, the
## plug-in calls, the host's floor (a MEX file that only creates the same
## outputs and copies the input) and the vectorised scripts a user would
## write instead, on random images of 512^2, 2048^2 and 4096^2 elements;
## then a uint8 photograph of 2048^2 as imread gives it, passed as it is and
## converted first; and a pass over a folder of greyscale photographs, imread
## with and without Vesk. Writes one line per measurement:
## what,side,median seconds,repetitions.
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
