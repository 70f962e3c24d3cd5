## report_figures (benchmarkJson, standinJson, octaveCsv, machineFile, outDir, batchCsv):
## turns one benchmark run into outDir/figures.md (tables, ratios, targets) and
## outDir/kernels.dat, outDir/octave.dat (time per element, for the plot).
## batchCsv, vesk_batch's figures, may be left out.
function report_figures (benchmarkJson, standinJson, octaveCsv, machineFile, outDir, batchCsv)
  runs = read_benchmarks (benchmarkJson);
  standinRuns = read_benchmarks (standinJson);
  octaveRuns = read_csv (octaveCsv);
  sides = [512 2048 4096];
  out = fopen (fullfile (outDir, "figures.md"), "w");
  fprintf (out, "# Benchmark figures\n\n");
  fprintf (out, "```\n%s```\n\n", fileread (machineFile));

  ## Kernel tables: ns per element, and the ratios.
  plugins = {"Vesk", "Vesk2"};
  images = {"random", "uniform", "photo"};
  for warmth = {"warm", "cold"}
    w = warmth{1};
    fprintf (out, "## Kernels, %s buffers: ns per element (median of %d)\n\n", w, runs.repetitions);
    fprintf (out, "| size | plug-in | image | kernel | bound | plain | kernel / bound | plain / kernel |\n");
    fprintf (out, "|---|---|---|---:|---:|---:|---:|---:|\n");
    for side = sides
      bound = per_element (runs, "bound/any/bound", w, side);
      for p = 1:2
        for i = 1:3
          prefix = [plugins{p} "/" images{i}];
          kernel = per_element (runs, [prefix "/kernel"], w, side);
          plainTime = per_element (runs, [prefix "/plain"], w, side);
          fprintf (out, "| %d^2 | %s | %s | %.2f | %.2f | %.2f | %.2f | %.2f |\n", side,
                   plugins{p}, images{i}, kernel, bound, plainTime, kernel / bound,
                   plainTime / kernel);
        endfor
      endfor
    endfor
    fprintf (out, "\n");
  endfor

  ## Paired warm ratios: the calls taken side by side in every iteration.
  fprintf (out, "## Warm ratios from side-by-side calls (median of per-iteration ratios)\n\n");
  fprintf (out, "| size | plug-in | image | kernel (ms) | kernel / bound | plain / kernel | kernel / kernel on random |\n");
  fprintf (out, "|---|---|---|---:|---:|---:|---:|\n");
  for side = [2048 4096]
    for p = 1:2
      for i = 1:3
        e = paired (runs, plugins{p}, images{i}, side);
        fprintf (out, "| %d^2 | %s | %s | %.2f | %.2f | %.2f | %.2f |\n", side, plugins{p},
                 images{i}, 1e3 * lookup_run (runs, ["paired/" plugins{p} "/" images{i} "/kernel"], "warm", side),
                 e.kernel_per_bound, e.plain_per_kernel, e.kernel_per_random);
      endfor
    endfor
  endfor
  fprintf (out, "\n");

  ## First touch: what the cold bound pays per fresh 4 KiB page.
  fprintf (out, "## First touch of fresh memory\n\n");
  fprintf (out, "| size | bound warm (ms) | bound cold (ms) | fresh pages | us per page |\n");
  fprintf (out, "|---|---:|---:|---:|---:|\n");
  for side = sides
    warm = lookup_run (runs, "bound/any/bound", "warm", side);
    cold = lookup_run (runs, "bound/any/bound", "cold", side);
    pages = side ^ 2 * (4 + 8) / 4096;  # level array and map
    fprintf (out, "| %d^2 | %.2f | %.2f | %d | %.2f |\n", side, 1e3 * warm, 1e3 * cold, pages,
             1e6 * (cold - warm) / pages);
  endfor
  fprintf (out, "\n");

  ## The stand-in host.
  fprintf (out, "## Through the stand-in host (as the tests call the plug-ins)\n\n");
  fprintf (out, "| size | plug-in | call (ms) | ns per element | kernel, cold (ns per element) | call / kernel |\n");
  fprintf (out, "|---|---|---:|---:|---:|---:|\n");
  for side = sides
    for p = 1:2
      call = 1e9 * lookup_run (standinRuns, ["standin/" plugins{p} "/random"], "call", side) / side ^ 2;
      kernel = per_element (runs, [plugins{p} "/random/kernel"], "cold", side);
      fprintf (out, "| %d^2 | %s | %.2f | %.2f | %.2f | %.2f |\n", side, plugins{p},
               1e-6 * call * side ^ 2, call, kernel, call / kernel);
    endfor
  endfor
  fprintf (out, "\n");

  ## Octave.
  fprintf (out, "## Octave %s, one session: ms per call (median)\n\n", OCTAVE_VERSION);
  fprintf (out, "| size | Vesk | Vesk2 | host floor | vesk_vectorised | vesk2_vectorised | Vesk / floor | Vesk2 / floor | script / Vesk | script / Vesk2 | script / floor (Vesk, Vesk2) |\n");
  fprintf (out, "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for side = sides
    t = @(what) octave_time (octaveRuns, what, side);
    fprintf (out, "| %d^2 | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f, %.2f |\n",
             side, 1e3 * t ("Vesk"), 1e3 * t ("Vesk2"), 1e3 * t ("floor"),
             1e3 * t ("vesk_vectorised"), 1e3 * t ("vesk2_vectorised"),
             t ("Vesk") / t ("floor"), t ("Vesk2") / t ("floor"),
             t ("vesk_vectorised") / t ("Vesk"), t ("vesk2_vectorised") / t ("Vesk2"),
             t ("vesk_vectorised") / t ("floor"), t ("vesk2_vectorised") / t ("floor"));
  endfor
  fprintf (out, "\n");

  ## Octave-native against MEX, double and uint8 images.
  fprintf (out, "## Octave %s, one session: the Octave-native functions against the MEX files, ms per call (median)\n\n", OCTAVE_VERSION);
  fprintf (out, "| size | image | native Vesk | native Vesk2 | native floor | MEX Vesk | MEX Vesk2 | MEX floor | native / MEX (Vesk, Vesk2) | native / native floor (Vesk, Vesk2) |\n");
  fprintf (out, "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for side = sides
    for prefix = {"", "uint8_"}
      t = @(what) octave_time (octaveRuns, what, side);
      n = @(what) t (["native_" prefix{1} what]);
      m = @(what) t ([prefix{1} what]);
      fprintf (out, "| %d^2 | %s | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f | %.2f, %.2f | %.2f, %.2f |\n",
               side, {"double", "uint8"}{1 + ! isempty (prefix{1})},
               1e3 * n ("Vesk"), 1e3 * n ("Vesk2"), 1e3 * n ("floor"),
               1e3 * m ("Vesk"), 1e3 * m ("Vesk2"), 1e3 * m ("floor"),
               n ("Vesk") / m ("Vesk"), n ("Vesk2") / m ("Vesk2"),
               n ("Vesk") / n ("floor"), n ("Vesk2") / n ("floor"));
    endfor
  endfor
  fprintf (out, "\n");

  ## uint8 images: the kernels and the Octave calls.
  fprintf (out, "## uint8 images: kernels, warm, side by side (median of per-iteration ratios)\n\n");
  fprintf (out, "| size | plug-in | image | uint8 kernel (ms) | uint8 / its bound | double kernel / uint8 kernel |\n");
  fprintf (out, "|---|---|---|---:|---:|---:|\n");
  for side = [2048 4096]
    for p = 1:2
      for image = {"random", "photo"}
        e = uint8_paired (runs, plugins{p}, image{1}, side);
        fprintf (out, "| %d^2 | %s | %s | %.2f | %.2f | %.2f |\n", side, plugins{p}, image{1},
                 1e3 * lookup_run (runs, ["uint8/" plugins{p} "/" image{1} "/kernel"], "warm", side),
                 e.uint8_per_bound, e.double_per_uint8);
      endfor
    endfor
  endfor
  fprintf (out, "\n");
  t = @(what) octave_time (octaveRuns, what, 2048);
  fprintf (out, "## uint8 photograph of 2048^2 in Octave: ms per call (median), conversions included\n\n");
  fprintf (out, "| call | ms | / the call on the converted image | / host floor for its input class |\n|---|---:|---:|---:|\n");
  fprintf (out, "| Vesk(img) | %.2f | %.2f | %.2f |\n", 1e3 * t ("uint8/Vesk"),
           t ("uint8/Vesk") / t ("uint8/Vesk_of_double"), t ("uint8/Vesk") / t ("uint8/floor"));
  fprintf (out, "| Vesk(double(img)) | %.2f | | %.2f |\n", 1e3 * t ("uint8/Vesk_of_double"),
           t ("uint8/Vesk_of_double") / t ("uint8/floor_of_double"));
  fprintf (out, "| Vesk2(img) | %.2f | %.2f | %.2f |\n", 1e3 * t ("uint8/Vesk2"),
           t ("uint8/Vesk2") / t ("uint8/Vesk2_of_im2double"), t ("uint8/Vesk2") / t ("uint8/floor"));
  fprintf (out, "| Vesk2(im2double(img)) | %.2f | | %.2f |\n", 1e3 * t ("uint8/Vesk2_of_im2double"),
           t ("uint8/Vesk2_of_im2double") / t ("uint8/floor_of_double"));
  fprintf (out, "| host floor, uint8 input | %.2f | | |\n| host floor, double input (conversion included) | %.2f | | |\n\n",
           1e3 * t ("uint8/floor"), 1e3 * t ("uint8/floor_of_double"));
  files = octaveRuns.side(find (strcmp (octaveRuns.what, "folder/imread"), 1));
  f = @(what) octave_time (octaveRuns, what, files);
  fprintf (out, "## A folder of %d greyscale PNG photographs (%s)\n\n", files,
           "the bundled two at 512^2, 1024^2, 1536^2, 2048^2");
  fprintf (out, "| pass | ms | / imread alone |\n|---|---:|---:|\n");
  for what = {"folder/imread", "folder/imread_Vesk", "folder/imread_floor"}
    fprintf (out, "| %s | %.1f | %.2f |\n", what{1}, 1e3 * f (what{1}), f (what{1}) / f ("folder/imread"));
  endfor
  fprintf (out, "\n");
  batch = [];
  if (nargin >= 6)
    batch = read_csv (batchCsv);
    fprintf (out, "## vesk_batch in Octave: ms for all images (median, fastest of %d)\n\n",
             batch.repetitions(1));
    fprintf (out, "| run | median | fastest |\n|---|---:|---:|\n");
    for k = 1:numel (batch.what)
      fprintf (out, "| %s | %.0f | %.0f |\n", batch.what{k}, 1e3 * batch.seconds(k), 1e3 * batch.fastest(k));
    endfor
    fprintf (out, ["\n64 photographs of 1024^2: loop: imread and Vesk in a plain loop; serial, " ...
                   "workers2: vesk_batch with 'Functions' 'Vesk', 1 and 2 workers (started " ...
                   "before); workers2_cold: the workers started by the run; _both: Vesk and " ...
                   "Vesk2. small_: 400 images of 64^2, Vesk and Vesk2; small_fresh: with an " ...
                   "OutputFolder; small_resumed90: Resume with 90%% of the images complete.\n\n"]);
  endif

  ## Targets.
  fprintf (out, "## Targets\n\nKernel ratios from the side-by-side calls; Octave ratios from the interleaved calls.\n\n| target | worst case | figure | met |\n|---|---|---:|---|\n");
  for side = [2048 4096]
    for p = 1:2
      ratioOf = @(field) @(i) paired (runs, plugins{p}, images{i}, side).(field);
      [ratio, image] = worst (ratioOf ("kernel_per_bound"), images, "max");
      target_line (out, sprintf ("warm %d^2 %s within 1.3x of the bound", side, plugins{p}), image, ratio, ratio <= 1.3);
      [ratio, image] = worst (ratioOf ("plain_per_kernel"), images, "min");
      target_line (out, sprintf ("warm %d^2 %s >= 2x faster than plain", side, plugins{p}), image, ratio, ratio >= 2);
      ratio = paired (runs, plugins{p}, "uniform", side).kernel_per_random;
      target_line (out, sprintf ("warm %d^2 %s uniform <= 1.2x random", side, plugins{p}), "uniform", ratio, ratio <= 1.2);
    endfor
  endfor
  for p = 1:2
    ratio = octave_time (octaveRuns, plugins{p}, 2048) / octave_time (octaveRuns, "floor", 2048);
    target_line (out, sprintf ("Octave 2048^2 %s within 1.2x of the host's floor", plugins{p}), "random", ratio, ratio <= 1.2);
    ratio = octave_time (octaveRuns, [lower(plugins{p}) "_vectorised"], 2048) / octave_time (octaveRuns, plugins{p}, 2048);
    target_line (out, sprintf ("Octave 2048^2 %s >= 3.5x faster than the vectorised script", plugins{p}), "random", ratio, ratio >= 3.5);
  endfor
  for side = [2048 4096]
    for p = 1:2
      byteImages = {"random", "photo"};
      ratioOf = @(field) @(i) uint8_paired (runs, plugins{p}, byteImages{i}, side).(field);
      [ratio, image] = worst (ratioOf ("uint8_per_bound"), byteImages, "max");
      target_line (out, sprintf ("warm %d^2 %s uint8 within 1.3x of its bound", side, plugins{p}), image, ratio, ratio <= 1.3);
      [ratio, image] = worst (ratioOf ("double_per_uint8"), byteImages, "min");
      target_line (out, sprintf ("warm %d^2 %s uint8 >= 1.5x faster than double", side, plugins{p}), image, ratio, ratio >= 1.5);
      for prefix = {"", "uint8_"}
        native = octave_time (octaveRuns, ["native_" prefix{1} plugins{p}], side);
        ratio = native / octave_time (octaveRuns, [prefix{1} plugins{p}], side);
        target_line (out, sprintf ("Octave %d^2 %snative %s <= 0.6x the MEX call", side, strrep (prefix{1}, "_", " "), plugins{p}), "random", ratio, ratio <= 0.6);
        ratio = native / octave_time (octaveRuns, ["native_" prefix{1} "floor"], side);
        target_line (out, sprintf ("Octave %d^2 %snative %s within 1.3x of the native floor", side, strrep (prefix{1}, "_", " "), plugins{p}), "random", ratio, ratio <= 1.3);
      endfor
    endfor
  endfor
  ratio = t ("uint8/Vesk") / t ("uint8/Vesk_of_double");
  target_line (out, "Octave 2048^2 Vesk(img) <= 0.6x Vesk(double(img))", "photo", ratio, ratio <= 0.6);
  ratio = t ("uint8/Vesk2") / t ("uint8/Vesk2_of_im2double");
  target_line (out, "Octave 2048^2 Vesk2(img) <= 0.5x Vesk2(im2double(img))", "photo", ratio, ratio <= 0.5);
  for p = 1:2
    ratio = t (["uint8/" plugins{p}]) / t ("uint8/floor");
    target_line (out, sprintf ("Octave 2048^2 %s(img) within 1.2x of the floor for uint8", plugins{p}), "photo", ratio, ratio <= 1.2);
  endfor
  for p = 1:2
    ratio = octave_time (octaveRuns, [lower(plugins{p}) "_vectorised"], 2048) / octave_time (octaveRuns, ["native_" plugins{p}], 2048);
    target_line (out, sprintf ("Octave 2048^2 native %s >= 6x faster than the vectorised script", plugins{p}), "random", ratio, ratio >= 6);
  endfor
  ratio = f ("folder/imread_Vesk") / f ("folder/imread");
  target_line (out, "folder: imread + Vesk <= 1.25x imread alone", "PNG", ratio, ratio <= 1.25);
  if (! isempty (batch))
    ## The fastest runs beside the medians: on two shared cores the second
    ## worker only helps while the other core is free.
    b = @(what) batch.seconds(strcmp (batch.what, what));
    fastest = @(what) batch.fastest(strcmp (batch.what, what));
    ratio = b ("serial") / b ("workers2");
    target_line (out, "vesk_batch: 2 workers >= 1.6x faster than 1",
                 sprintf ("64 photographs; fastest runs %.2f", fastest ("serial") / fastest ("workers2")),
                 ratio, ratio >= 1.6);
    ratio = b ("serial") / b ("loop");
    target_line (out, "vesk_batch: serial within 1.2x of the plain loop",
                 sprintf ("64 photographs; fastest runs %.2f", fastest ("serial") / fastest ("loop")),
                 ratio, ratio <= 1.2);
    if (any (strcmp (batch.what, "small_serial")))
      ratio = b ("small_serial") / b ("small_loop");
      target_line (out, "vesk_batch: serial within 1.15x of the plain loop, 400 images of 64^2",
                   sprintf ("fastest runs %.2f", fastest ("small_serial") / fastest ("small_loop")),
                   ratio, ratio <= 1.15);
      ratio = b ("small_serial") / b ("small_workers2");
      target_line (out, "vesk_batch: 2 workers faster than 1, 400 images of 64^2",
                   sprintf ("fastest runs %.2f", fastest ("small_serial") / fastest ("small_workers2")),
                   ratio, ratio > 1);
    endif
  endif
  fclose (out);

  ## Plot data: elements, then ns per element.
  data = fopen (fullfile (outDir, "kernels.dat"), "w");
  fprintf (data, "# elements bound_warm Vesk_warm Vesk2_warm Vesk_plain_warm Vesk2_plain_warm bound_cold Vesk_cold Vesk2_cold\n");
  for side = sides
    fprintf (data, "%d %g %g %g %g %g %g %g %g\n", side ^ 2,
             per_element (runs, "bound/any/bound", "warm", side),
             per_element (runs, "Vesk/random/kernel", "warm", side),
             per_element (runs, "Vesk2/random/kernel", "warm", side),
             per_element (runs, "Vesk/random/plain", "warm", side),
             per_element (runs, "Vesk2/random/plain", "warm", side),
             per_element (runs, "bound/any/bound", "cold", side),
             per_element (runs, "Vesk/random/kernel", "cold", side),
             per_element (runs, "Vesk2/random/kernel", "cold", side));
  endfor
  fclose (data);
  data = fopen (fullfile (outDir, "octave.dat"), "w");
  columns = {"Vesk", "Vesk2", "floor", "vesk_vectorised", "vesk2_vectorised", ...
             "native_Vesk", "native_Vesk2", "native_floor"};
  fprintf (data, "# elements %s (ns per element)\n", strjoin (columns, " "));
  for side = sides
    n = side ^ 2;
    fprintf (data, "%d", n);
    for c = 1:numel (columns)
      fprintf (data, " %g", 1e9 * octave_time (octaveRuns, columns{c}, side) / n);
    endfor
    fprintf (data, "\n");
  endfor
  fclose (data);
endfunction

## The counters of a side-by-side run; prefix "paired" (the default) or "uint8".
function e = paired (runs, plugin, image, side, prefix)
  if (nargin < 5)
    prefix = "paired";
  endif
  key = sprintf ("%s/%s/%s/kernel/warm/%d", prefix, plugin, image, side);
  found = find (strcmp (runs.names, key));
  if (isempty (found))
    error ("report_figures: no median for %s", key);
  endif
  e = runs.entries{found(1)};
endfunction

function e = uint8_paired (runs, plugin, image, side)
  e = paired (runs, plugin, image, side, "uint8");
endfunction

function target_line (out, what, image, figure, met)
  marks = {"no", "yes"};
  fprintf (out, "| %s | %s | %.2f | %s |\n", what, image, figure, marks{met + 1});
endfunction

function [value, image] = worst (ratioOf, images, which)
  values = cellfun (ratioOf, num2cell (1:numel (images)));
  if (strcmp (which, "max"))
    [value, i] = max (values);
  else
    [value, i] = min (values);
  endif
  image = images{i};
endfunction

## Median seconds per call of one benchmark.
function seconds = lookup_run (runs, prefix, warmth, side)
  key = sprintf ("%s/%s/%d", prefix, warmth, side);
  found = find (strcmp (runs.names, key));
  if (isempty (found))
    error ("report_figures: no median for %s", key);
  endif
  seconds = runs.seconds(found(1));
endfunction

function ns = per_element (runs, prefix, warmth, side)
  ns = 1e9 * lookup_run (runs, prefix, warmth, side) / side ^ 2;
endfunction

function runs = read_benchmarks (file)
  report = jsondecode (fileread (file));
  entries = report.benchmarks;
  if (! iscell (entries))
    entries = num2cell (entries);
  endif
  scale = struct ("ns", 1e-9, "us", 1e-6, "ms", 1e-3, "s", 1);
  runs.names = {};
  runs.seconds = [];
  runs.repetitions = 0;
  runs.entries = {};
  for k = 1:numel (entries)
    e = entries{k};
    if (! isfield (e, "aggregate_name") || ! strcmp (e.aggregate_name, "median"))
      continue;
    endif
    runs.names{end + 1} = regexprep (e.run_name, "/(iterations|repeats):[0-9]+|/manual_time$", "");
    runs.seconds(end + 1) = e.real_time * scale.(e.time_unit);
    runs.entries{numel (runs.names)} = e;
    if (! strncmp (e.run_name, "paired/", 7) && ! strncmp (e.run_name, "uint8/", 6))
      runs.repetitions = e.repetitions;
    endif
  endfor
endfunction

## A CSV file with a header line: one field per column, numbers where the
## column holds numbers, text otherwise.
function table = read_csv (file)
  text = strsplit (strtrim (fileread (file)), "\n");
  names = strsplit (text{1}, ",");
  cells = cellfun (@(line) strsplit (line, ","), text(2:end), "UniformOutput", false);
  cells = vertcat (cells{:});
  table = struct ();
  for c = 1:numel (names)
    numbers = str2double (cells(:, c))';
    if (all (isnan (numbers)))
      table.(names{c}) = cells(:, c)';
    else
      table.(names{c}) = numbers;
    endif
  endfor
endfunction

function seconds = octave_time (runs, what, side)
  found = find (strcmp (runs.what, what) & runs.side == side);
  seconds = runs.seconds(found(1));
endfunction
