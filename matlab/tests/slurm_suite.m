## vesk_batch_array.sh through a real Slurm cluster: 40 photographs in 4
## array tasks, merged, give a serial vesk_batch run's results bit for bit;
## a task cancelled midway and requeued resumes: complete and equal results,
## no partial file under a final name, the images finished before the cancel
## not computed again. Runs under testing/slurm/with_slurm.sh, which starts
## the cluster (SLURM_CONF) and removes its folder (VESK_SLURM_DIR), where
## everything here is written. Run with run_suite ("slurm_suite.m").

## 40 photographs as a user's folder has them: crops of the bundled ones at
## different places and sizes, grey and colour, uint8 and uint16, mirrored
## and brightened, so that no two are alike.
%!function names = make_photographs (folder)
%!  mkdir (folder);
%!  camera = photograph ("camera.png");
%!  astronaut = photograph ("astronaut.png");
%!  names = cell (40, 1);
%!  for k = 1:40
%!    if (mod (k, 2))
%!      base = camera;
%!    else
%!      base = astronaut;
%!    endif
%!    side = 160 + 8 * mod (7 * k, 23);
%!    first = 1 + mod (37 * k, 512 - side);
%!    img = base(first:first + side - 1, 1 + mod (53 * k, 512 - side) + (0:side - 1), :);
%!    if (mod (k, 3) == 0)
%!      img = fliplr (img);
%!    endif
%!    img = img + uint8 (mod (k, 11));
%!    if (mod (k, 5) == 0)
%!      img = uint16 (img) * 257 + uint16 (mod (k, 250));
%!    endif
%!    names{k} = sprintf ("photo_%02d.png", k);
%!    imwrite (img, fullfile (folder, names{k}));
%!  endfor
%!endfunction

## Runs a shell command; its output on failure.
%!function printed = run (command)
%!  [status, printed] = system (command);
%!  assert (status, 0, sprintf ("%s\n%s", command, printed));
%!endfunction

## TEXT quoted for the shell.
%!function quoted = sh (text)
%!  quoted = ["'" strrep(text, "'", "'\\''") "'"];
%!endfunction

## Submits the shipped array script over FOLDER into OUT in 4 tasks, with
## the folder PATH also on the job's path, OPTIONS for vesk_batch (M code,
## "" for none) and FLAGS for sbatch; the job id. The tasks' output goes to
## logs/ beside OUT.
%!function job = submit (folder, out, path, options, flags)
%!  functions = getenv ("VESK_FUNCTIONS_DIR");
%!  logs = fullfile (fileparts (out), "logs");
%!  mkdir (logs);
%!  command = sprintf (["cd %s && VESK_PATH=%s VESK_BATCH_OPTIONS=%s sbatch --parsable " ...
%!                      "--array=1-4 %s --output=%s %s %s %s '*.png'"],
%!                     sh (fileparts (out)), sh (strjoin ([{functions}, path], ":")), sh (options),
%!                     flags, sh (fullfile (logs, "%A_%a.out")),
%!                     sh (fullfile (functions, "vesk_batch_array.sh")), sh (folder), sh (out));
%!  job = strtrim (run (command));
%!endfunction

## Waits until the cluster (this suite's own) has no job left pending or
## running. (squeue -j of an array's id may miss the tasks split off from it.)
%!function wait_for_queue ()
%!  for tries = 1:1200
%!    if (isempty (strtrim (run ("squeue -h -o %i"))))
%!      return;
%!    endif
%!    pause (0.25);
%!  endfor
%!  error ("jobs still queued after 5 minutes:\n%s", run ("squeue"));
%!endfunction

## The state of task K of JOB, such as RUNNING or CANCELLED.
%!function state = task_state (job, k)
%!  state = regexp (run (sprintf ("scontrol show job %s_%d", job, k)), 'JobState=(\S+)', "tokens", "once"){1};
%!endfunction

## Every task of JOB (or those of TASKS, such as [1 3 4]) ended with 0;
## otherwise their output (in logs/ beside OUT) in the message.
%!function check_exit_codes (job, out, tasks)
%!  if (nargin > 2)
%!    shown = arrayfun (@(k) run (sprintf ("scontrol show job %s_%d", job, k)), tasks,
%!                      "UniformOutput", false);
%!  else
%!    shown = {run(sprintf("scontrol show job %s", job))};
%!  endif
%!  codes = regexp (strjoin (shown, "\n"), 'ExitCode=\S+', "match");
%!  if (isempty (codes) || ! all (strcmp (codes, "ExitCode=0:0")))
%!    logs = dir (fullfile (fileparts (out), "logs", "*.out"));
%!    texts = cellfun (@(name) fileread (fullfile (fileparts (out), "logs", name)), {logs.name},
%!                     "UniformOutput", false);
%!    error ("job %s: %s\n%s", job, strjoin (codes, " "), strjoin (texts, "\n"));
%!  endif
%!endfunction

## The images of NAMES complete in OUT (their completion record written),
## and for each its files' inode and modification time (ns) as text.
%!function [done, stamps] = finished (out, names)
%!  done = {};
%!  stamps = {};
%!  for k = 1:numel (names)
%!    [~, stem] = fileparts (names{k});
%!    record = fullfile (out, "done", [stem ".mat"]);
%!    if (isfile (record))
%!      done{end+1} = names{k};
%!      files = [strcat(fullfile(out, stem), {".mat", "_vesk.png", "_vesk2.png"}), {record}];
%!      files = cellfun (@sh, files, "UniformOutput", false);
%!      stamps{end+1} = run (sprintf ("stat -c '%%n %%i %%.9Y' %s %s %s %s", files{:}));
%!    endif
%!  endfor
%!endfunction

## Every file of OUT under a final name equals the serial run's: the PNG
## images byte for byte, the variables of the MAT files bit for bit (their
## headers carry the time they were written). Besides them only the shares'
## tables and temporaries (NAME.vesk-partial-PID.EXT); their number.
%!function partial = check_final_files (out, serial_maps)
%!  partial = 0;
%!  for entry = dir (out)'
%!    file = fullfile (out, entry.name);
%!    expected = fullfile (serial_maps, entry.name);
%!    if (entry.isdir || regexp (entry.name, '^table\.shard-\d-of-4\.csv$', "once"))
%!      continue;
%!    elseif (regexp (entry.name, '\.vesk-partial-\d+\.', "once"))
%!      partial += 1;
%!    elseif (! isfile (expected))
%!      error ("%s: a file the serial run has not written", file);
%!    elseif (regexp (entry.name, '\.png$', "once"))
%!      assert (strcmp (fileread (file), fileread (expected)), "%s differs from %s", file, expected);
%!    else
%!      got = load (file);
%!      want = load (expected);
%!      assert (sort (fieldnames (got)), sort (fieldnames (want)), file);
%!      for name = fieldnames (want)'
%!        if (ischar (want.(name{1})))
%!          assert (got.(name{1}), want.(name{1}), [file " " name{1}]);
%!        else
%!          assert_same_bits (double (got.(name{1})), double (want.(name{1})), [file " " name{1}]);
%!        endif
%!      endfor
%!    endif
%!  endfor
%!endfunction

## The text of the 4 shares' tables in OUT.
%!function tables = share_tables (out)
%!  tables = cellfun (@(k) fileread (fullfile (out, sprintf ("table.shard-%d-of-4.csv", k))),
%!                    {1, 2, 3, 4}, "UniformOutput", false);
%!endfunction

## The shares' tables of OUT merged: the files of FOLDER missing from them.
%!function [merged, missing] = merge (out, folder, merged_csv)
%!  [merged, missing] = vesk_batch_merge (fullfile (out, "table.shard-*-of-4.csv"), "Files", folder,
%!                                        "Pattern", "*.png", "CsvFile", merged_csv);
%!endfunction

## The merged shares of OUT against the serial run: the same table, bit for
## bit, every image complete, the same files and no temporary left.
%!function check_merged (out, folder, serial, serial_csv, serial_maps, names)
%!  merged_csv = fullfile (fileparts (out), "merged.csv");
%!  [merged, missing] = merge (out, folder, merged_csv);
%!  assert (missing, cell (0, 1));
%!  assert (size (merged), size (serial));
%!  for k = 1:numel (serial)
%!    assert (merged(k).file, serial(k).file);
%!    assert (isempty (merged(k).errorIdentifier) && isempty (serial(k).errorIdentifier));
%!    assert (merged(k).size, serial(k).size);
%!    assert (merged(k).class, serial(k).class);
%!    assert_same_bits (merged(k).distribution, serial(k).distribution, [names{k} " distribution"]);
%!    assert_same_bits (merged(k).level, serial(k).level, [names{k} " level"]);
%!  endfor
%!  assert (strcmp (fileread (merged_csv), fileread (serial_csv)), "the merged table differs");
%!  assert (finished (out, names), names');
%!  assert (check_final_files (out, serial_maps), 0);
%!endfunction

%!shared work, folder, names, serial, serial_csv, serial_maps
%! work = fullfile (getenv ("VESK_SLURM_DIR"), "work");
%! assert (! isempty (getenv ("SLURM_CONF")) && ! isempty (getenv ("VESK_SLURM_DIR")),
%!         "run this suite under testing/slurm/with_slurm.sh");
%! mkdir (work);
%! ## Names with a space and quotes, which the script passes on to M code.
%! folder = fullfile (work, "user's photographs");
%! names = make_photographs (folder);
%! serial_csv = fullfile (work, "serial.csv");
%! serial_maps = fullfile (work, "serial");
%! serial = vesk_batch (folder, "*.png", "OutputFolder", serial_maps, "CsvFile", serial_csv,
%!                      "Progress", false);
%! assert (numel (serial), 40);

## The script (run by sh, so POSIX shell) refuses what it cannot run before
## it makes anything or starts a host: each row the environment and the
## arguments, and what it must print (status 2).
%!test
%! script = sh (fullfile (getenv ("VESK_FUNCTIONS_DIR"), "vesk_batch_array.sh"));
%! cases = {
%!   "SLURM_ARRAY_TASK_ID=1",                     "",            "usage: sbatch --array=1-N"
%!   "SLURM_ARRAY_TASK_ID=1",                     "a b c d",     "usage: sbatch --array=1-N"
%!   "SLURM_ARRAY_TASK_ID=",                      "a b",         "not an array task"
%!   "SLURM_ARRAY_TASK_ID=1 VESK_HOST=python",    "a b",         "VESK_HOST must be octave or matlab"
%! };
%! for k = 1:rows (cases)
%!   [status, printed] = system (sprintf ("cd %s && env %s sh %s %s 2>&1", sh (work), cases{k, 1},
%!                                        script, cases{k, 2}));
%!   assert (status, 2, printed);
%!   assert (! isempty (strfind (printed, cases{k, 3})), "%s %s: %s", cases{k, 1:2}, printed);
%! endfor
%! assert (! exist (fullfile (work, "b"), "dir"), "a refused call made its output folder");

## Four array tasks, submitted as a user would, and merged; then submitted
## again over the finished folder.
%!test
%! out = fullfile (work, "four", "the 'maps'");
%! mkdir (fileparts (out));
%! job = submit (folder, out, {}, "", "--wait");
%! wait_for_queue ();
%! check_exit_codes (job, out);
%! ## The script's own directives reached Slurm.
%! shown = run (sprintf ("scontrol show job %s_1", job));
%! assert (! isempty (strfind (shown, "Requeue=1")), shown);
%! assert (! isempty (strfind (shown, "JobName=vesk_batch")), shown);
%! check_merged (out, folder, serial, serial_csv, serial_maps, names);
%! ## The same array submitted again over the finished folder computes nothing.
%! [~, stamps] = finished (out, names);
%! tables = share_tables (out);
%! job = submit (folder, out, {}, "", "--wait");
%! wait_for_queue ();
%! check_exit_codes (job, out);
%! [~, stamps_again] = finished (out, names);
%! assert (stamps_again, stamps, "a finished image was written again");
%! assert (share_tables (out), tables);
%! check_merged (out, folder, serial, serial_csv, serial_maps, names);

## Task 2 cancelled after a few of its images (each read takes 0.3 s here),
## then requeued: it resumes where it stopped. Share 2 is images 2, 6, ...
%!test
%! out = fullfile (work, "cancelled", "maps");
%! slow = fullfile (work, "slow");
%! mkdir (slow);
%! mkdir (fileparts (out));
%! handle = fopen (fullfile (slow, "slow_read.m"), "w");
%! fprintf (handle, "function img = slow_read (file)\n  pause (0.3);\n  img = imread (file);\nend\n");
%! fclose (handle);
%! share = names(2:4:end);
%! job = submit (folder, out, {slow}, "'Reader', @slow_read", "");
%! for tries = 1:1200
%!   if (numel (finished (out, share)) >= 3
%!       || ! any (strcmp (task_state (job, 2), {"PENDING", "RUNNING"})))
%!     break;
%!   endif
%!   pause (0.1);
%! endfor
%! run (sprintf ("scancel %s_2", job));
%! wait_for_queue ();
%! assert (task_state (job, 2), "CANCELLED");
%! [before, stamps] = finished (out, share);
%! assert (numel (before) >= 3 && numel (before) < numel (share),
%!         "share 2 had %d of its %d images done when cancelled", numel (before), numel (share));
%! ## Octave stopped by the cancel left no workspace file where the job ran.
%! assert (! exist (fullfile (fileparts (out), "octave-workspace"), "file"));
%! ## What is there is whole, and the other shares are complete.
%! check_exit_codes (job, out, [1 3 4]);
%! check_final_files (out, serial_maps);
%! assert (numel (finished (out, names)), numel (names) - numel (share) + numel (before));
%! ## The merge names what is missing: share 2's images, at least those not done.
%! state = warning ("off", "vesk_batch_merge:missing");
%! [~, missing] = merge (out, folder, fullfile (work, "cancelled", "incomplete.csv"));
%! warning (state);
%! [~, missing] = cellfun (@fileparts, missing, "UniformOutput", false);
%! [~, stems] = cellfun (@fileparts, share, "UniformOutput", false);
%! [~, done_stems] = cellfun (@fileparts, before, "UniformOutput", false);
%! assert (all (ismember (missing, stems)) && all (ismember (setdiff (stems, done_stems), missing)));
%!
%! run (sprintf ("scontrol requeue %s_2", job));
%! wait_for_queue ();
%! check_exit_codes (job, out);
%! shown = run (sprintf ("scontrol show job %s_2", job));
%! assert (! isempty (strfind (shown, "Restarts=1")), shown);
%! [after, stamps_after] = finished (out, before);
%! assert (after, before);
%! assert (stamps_after, stamps, "the images done before the cancel were written again");
%! check_merged (out, folder, serial, serial_csv, serial_maps, names);
