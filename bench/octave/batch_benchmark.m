## batch_benchmark (mexDir, dataDir, csvFile): vesk_batch against the loop a
## user would write, side by side in one run, on
## - 64 greyscale photographs of 1024 x 1024 (made from the bundled ones):
##   the loop (imread, then Vesk; and with Vesk2), the batch serially and on
##   2 workers (parcellfun), the workers started before the warm runs, as a
##   user's pool would be, and by the run (cold);
## - 400 small images of 64 x 64: the loop (imread, Vesk, Vesk2), the batch
##   serially and on 2 workers, where what the batch does per image weighs
##   most;
## - the same 400 with an OutputFolder: a fresh run, and a run with Resume
##   where 90% of the images are complete (the done/ records of every tenth
##   image removed before each run).
## Writes one line per variant: what,seconds,fastest,repetitions (median
## and fastest of the repetitions: other work on a shared machine only ever
## adds time). tools/benchmark.sh runs it with OMP_NUM_THREADS=1, so that
## imread uses one thread in this process as in the workers.
function batch_benchmark (mexDir, dataDir, csvFile)
  addpath (mexDir);
  pkg load parallel
  [folder, files] = make_photographs (dataDir, 64, 1024);
  cleanup = onCleanup (@() remove_folder (folder));
  small = make_small (fullfile (folder, "small"), 400, 64);
  output = fullfile (folder, "maps");
  quiet = {"Progress", false};

  ## Each row: name, the run, and what is done before it, not timed.
  none = @() [];
  variants = {
    "loop",            @() bare_loop (files, false),                               none
    "serial",          @() vesk_batch (files, "Functions", "Vesk", quiet{:}),      none
    "workers2",        @() vesk_batch (files, "Functions", "Vesk", "Workers", 2, quiet{:}), none
    "workers2_cold",   @() vesk_batch (files, "Functions", "Vesk", "Workers", 2, quiet{:}), @() parcellfun_set_nproc (0)
    "loop_both",       @() bare_loop (files, true),                                none
    "serial_both",     @() vesk_batch (files, quiet{:}),                           none
    "workers2_both",   @() vesk_batch (files, "Workers", 2, quiet{:}),             none
    "small_loop",      @() bare_loop (small, true),                                none
    "small_serial",    @() vesk_batch (small, quiet{:}),                           none
    "small_workers2",  @() vesk_batch (small, "Workers", 2, quiet{:}),             none
    "small_fresh",     @() vesk_batch (small, quiet{:}, "OutputFolder", output),   @() system (["rm -rf '" output "'"])
    "small_resumed90", @() vesk_batch (small, quiet{:}, "OutputFolder", output, "Resume", true), ...
                       @() remove_records (output, small(1:10:end))
  };
  check_same_results (files);
  check_same_results (small);
  repetitions = 7;
  times = zeros (repetitions, rows (variants));
  for r = 0:repetitions
    ## Interleaved, so that the machine's drift hits every variant alike;
    ## round 0 warms the page cache and starts the workers.
    for v = 1:rows (variants)
      variants{v, 3} ();
      tic;
      variants{v, 2} ();
      if (r > 0)
        times(r, v) = toc;
      endif
    endfor
  endfor

  out = fopen (csvFile, "w");
  fprintf (out, "what,seconds,fastest,repetitions\n");
  for v = 1:rows (variants)
    fprintf (out, "%s,%.9g,%.9g,%d\n", variants{v, 1}, median (times(:, v)), min (times(:, v)),
             repetitions);
    printf ("vesk_batch %-16s %8.1f ms (fastest %.1f)\n", variants{v, 1},
            1e3 * median (times(:, v)), 1e3 * min (times(:, v)));
  endfor
  fclose (out);
  t = @(what) median (times(:, strcmp (variants(:, 1), what)));
  printf ("64 photographs of 1024^2: 2 workers vs 1: %.2fx (Vesk), %.2fx (Vesk and Vesk2), %.2fx (cold start)\n",
          t ("serial") / t ("workers2"), t ("serial_both") / t ("workers2_both"),
          t ("serial") / t ("workers2_cold"));
  printf ("64 photographs of 1024^2: serial batch / plain loop: %.2f (Vesk), %.2f (Vesk and Vesk2)\n",
          t ("serial") / t ("loop"), t ("serial_both") / t ("loop_both"));
  printf ("400 images of 64^2: serial batch / plain loop: %.2f; 2 workers vs 1: %.2fx\n",
          t ("small_serial") / t ("small_loop"), t ("small_serial") / t ("small_workers2"));
  printf ("400 images of 64^2 with outputs: resumed with 90%% done / fresh: %.2f\n",
          t ("small_resumed90") / t ("small_fresh"));
endfunction

## The user's own loop: read each file, call Vesk (and Vesk2).
function bare_loop (files, both)
  for k = 1:numel (files)
    img = imread (files{k});
    [map, dist] = Vesk (img);
    if (both)
      [smap, level] = Vesk2 (img);
    endif
  endfor
endfunction

## What a batch stopped at 90% leaves: the records of FILES removed.
function remove_records (output, files)
  for k = 1:numel (files)
    [~, stem] = fileparts (files{k});
    delete (fullfile (output, "done", [stem ".mat"]));
  endfor
endfunction

## COUNT small greyscale images of SIDE x SIDE in FOLDER, all different.
function files = make_small (folder, count, side)
  mkdir (folder);
  files = cell (count, 1);
  [x, y] = meshgrid (1:side);
  for k = 1:count
    files{k} = fullfile (folder, sprintf ("small_%03d.png", k));
    imwrite (uint8 (mod (x * k + y .^ 2 * (k + 1) + 37 * k, 256)), files{k});
  endfor
endfunction

function remove_folder (folder)
  confirm_recursive_rmdir (false, "local");
  rmdir (folder, "s");
endfunction

## The batch, serial and on 2 workers, gives the loop's distributions.
function check_same_results (files)
  serial = vesk_batch (files, "Functions", "Vesk", "Progress", false);
  parallel = vesk_batch (files, "Functions", "Vesk", "Workers", 2, "Progress", false);
  for k = 1:numel (files)
    [~, dist] = Vesk (imread (files{k}));
    if (! isequal (typecast (serial(k).distribution, "uint64"), typecast (dist, "uint64"))
        || ! isequal (serial(k).distribution, parallel(k).distribution))
      error ("batch_benchmark: %s: another distribution than the loop's", files{k});
    endif
  endfor
endfunction

## COUNT different greyscale photographs of SIDE x SIDE: the bundled ones
## enlarged, shifted, mirrored and brightened, so that no two files are alike.
function [folder, files] = make_photographs (dataDir, count, side)
  state = warning ("off", "all");  # astronaut.png's colour profile
  camera = imread (fullfile (dataDir, "camera.png"));
  astronaut = rgb2gray (imread (fullfile (dataDir, "astronaut.png")));
  warning (state);
  folder = tempname ();
  mkdir (folder);
  files = cell (count, 1);
  for k = 1:count
    if (mod (k, 2))
      base = camera;
    else
      base = astronaut;
    endif
    scale = side / rows (base);
    img = kron (base, ones (scale, "uint8"));
    img = circshift (img, [17 * k, 29 * k]);
    if (mod (k, 4) >= 2)
      img = fliplr (img);
    endif
    img = img + uint8 (mod (k, 7));
    files{k} = fullfile (folder, sprintf ("photo_%02d.png", k));
    imwrite (img, files{k});
  endfor
endfunction
