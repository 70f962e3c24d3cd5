## batch_benchmark (mexDir, dataDir, csvFile): vesk_batch on 64 greyscale
## photographs of 1024 x 1024 (made from the bundled ones, written as PNG to
## a temporary folder), against the loop a user would write (imread, then
## Vesk), serially and on 2 workers (parcellfun). The workers are started
## before the warm runs, as a user's pool would be; the cold runs start them
## anew. Writes one line per variant: what,seconds,fastest,repetitions
## (median and fastest of the repetitions: other work on a shared machine
## only ever adds time). tools/benchmark.sh runs it with OMP_NUM_THREADS=1,
## so that imread uses one thread in this process as in the workers.
function batch_benchmark (mexDir, dataDir, csvFile)
  addpath (mexDir);
  pkg load parallel
  [folder, files] = make_photographs (dataDir, 64, 1024);
  cleanup = onCleanup (@() remove_folder (folder));

  variants = {
    "loop",            @() bare_loop (files)
    "serial",          @() vesk_batch (files, "Functions", "Vesk", "Progress", false)
    "workers2",        @() vesk_batch (files, "Functions", "Vesk", "Workers", 2, "Progress", false)
    "workers2_cold",   @() cold (@() vesk_batch (files, "Functions", "Vesk", "Workers", 2, "Progress", false))
    "serial_both",     @() vesk_batch (files, "Progress", false)
    "workers2_both",   @() vesk_batch (files, "Workers", 2, "Progress", false)
  };
  check_same_results (files);
  repetitions = 7;
  times = zeros (repetitions, rows (variants));
  for r = 0:repetitions
    ## Interleaved, so that the machine's drift hits every variant alike;
    ## round 0 warms the page cache and starts the workers.
    for v = 1:rows (variants)
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
    printf ("vesk_batch %-14s %8.1f ms (fastest %.1f) for %d images\n", variants{v, 1},
            1e3 * median (times(:, v)), 1e3 * min (times(:, v)), numel (files));
  endfor
  fclose (out);
  t = @(what) median (times(:, strcmp (variants(:, 1), what)));
  printf ("2 workers vs 1: %.2fx (Vesk), %.2fx (Vesk and Vesk2), %.2fx (cold start)\n",
          t ("serial") / t ("workers2"), t ("serial_both") / t ("workers2_both"),
          t ("serial") / t ("workers2_cold"));
  printf ("serial batch / bare loop: %.2f\n", t ("serial") / t ("loop"));
endfunction

## The user's own loop: read each file, call Vesk.
function bare_loop (files)
  for k = 1:numel (files)
    img = imread (files{k});
    [map, dist] = Vesk (img);
  endfor
endfunction

function remove_folder (folder)
  confirm_recursive_rmdir (false, "local");
  rmdir (folder, "s");
endfunction

## A run with no workers started yet.
function cold (run)
  parcellfun_set_nproc (0);
  run ();
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
