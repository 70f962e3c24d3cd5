## vesk_batch's runs that stop and go on, and runs in shares: every file
## written whole (temporaries renamed into place, strays removed), Resume
## giving the bits of a fresh run without computing again, what makes it
## compute again, the shares' arithmetic, vesk_batch_merge, and the CSV
## table keeping every character of a file name. Run with
## run_suite ("batch_resume_suite.m").

## A Reader that counts its calls, so that a test sees what was computed.
%!function img = counting_reader (file)
%!  global vesk_batch_reads
%!  vesk_batch_reads(end+1, 1) = {file};
%!  img = imread (file);
%!endfunction

%!function reads = reads_since_last ()
%!  global vesk_batch_reads
%!  reads = vesk_batch_reads;
%!  vesk_batch_reads = cell (0, 1);
%!endfunction

%!function names = partial_files (folder)
%!  [~, listed] = system (sprintf ("find '%s' -name '*.vesk-partial-*'", folder));
%!  names = strsplit (strtrim (listed), "\n");
%!  names = names(! cellfun ("isempty", names));
%!endfunction

## The rows as a fresh run into another folder gives them: outputFiles
## named in the same folder.
%!function rows = moved (rows, from, to)
%!  for k = 1:numel (rows)
%!    rows(k).outputFiles = strrep (rows(k).outputFiles, from, to);
%!  endfor
%!endfunction

%!shared folder, files, options, fresh, fresh_dir, fresh_csv
%! warning ("off", "all");
%! [folder, files] = batch_images (9, 48);
%! fid = fopen (fullfile (folder, "image_broken.png"), "w");
%! fputs (fid, "not an image\n");
%! fclose (fid);
%! files = sort ([files; {fullfile(folder, "image_broken.png")}]);
%! reads_since_last ();
%! options = {"Reader", @counting_reader, "ReturnMaps", true, "Progress", false};
%! fresh_dir = fullfile (folder, "fresh");
%! fresh_csv = fullfile (folder, "fresh.csv");
%! fresh = vesk_batch (files, options{:}, "OutputFolder", fresh_dir, "CsvFile", fresh_csv);
%! assert (sum (! cellfun ("isempty", {fresh.errorIdentifier})), 1);

## Resume: the rows, maps and table of a fresh run, bit for bit, read back
## instead of computed (only the failed file is tried again), serially and
## on 2 workers; the outputs untouched.
%!test
%! output = fullfile (folder, "resumed");
%! table = [output ".csv"];
%! unwind_protect
%!   reads_since_last ();
%!   first = vesk_batch (files, options{:}, "OutputFolder", output, "CsvFile", table);
%!   assert (numel (reads_since_last ()), numel (files));
%!   assert_same_rows (first, moved (fresh, fresh_dir, output), "first run");
%!   written = dir (fullfile (output, "*.*"));
%!   pause (1.1);  # so that a file written again would show a later time
%!   for workers = [1 2]
%!     again = vesk_batch (files, options{:}, "OutputFolder", output, "CsvFile", table,
%!                         "Resume", true, "Workers", workers);
%!     assert_same_rows (again, first, sprintf ("resumed, %d workers", workers));
%!     assert (fileread (table), fileread (fresh_csv));
%!   endfor
%!   assert (unique (reads_since_last ()), {fullfile(folder, "image_broken.png")});
%!   assert ([dir(fullfile (output, "*.*")).datenum], [written.datenum]);
%!   ## Without Resume everything is computed again.
%!   vesk_batch (files, options{:}, "OutputFolder", output);
%!   assert (numel (reads_since_last ()), numel (files));
%! unwind_protect_cleanup
%!   remove_folder (output);
%! end_unwind_protect

## What makes Resume compute an image again: each row a change and the
## files it must read (besides the failed one, always tried again).
%!test
%! output = fullfile (folder, "changes");
%! ## Copies, changed here, so that the other tests keep theirs.
%! mkdir (fullfile (folder, "changed"));
%! copyfile (fullfile (folder, "*.png"), fullfile (folder, "changed"));
%! copies = strrep (files, folder, fullfile (folder, "changed"));
%! base = {options{:}, "OutputFolder", output, "Resume", true};
%! other_reader = {"Reader", @(file) counting_reader (file)};
%! cases = {
%!   "nothing",                 @() [],                                                    {}, {}
%!   "an output deleted",       @() delete (fullfile (output, "image_003_vesk2.png")),      {}, copies(3)
%!   "its record deleted",      @() delete (fullfile (output, "done", "image_004.mat")),    {}, copies(4)
%!   "the record unreadable",   @() fclose (fopen (fullfile (output, "done", "image_005.mat"), "w")), {}, copies(5)
%!   "the file's time",         @() system (["touch -d 2001-02-03 '" copies{6} "'"]),        {}, copies(6)
%!   "the file's bytes",        @() imwrite (uint8 (magic (48)), copies{7}),                 {}, copies(7)
%!   "Functions",               @() [],                                   {"Functions", "Vesk"}, copies(1:end-1)
%!   "Functions back",          @() [],                                                    {}, copies(1:end-1)
%!   "the Reader",              @() [],                                         other_reader, copies(1:end-1)
%! };
%! unwind_protect
%!   vesk_batch (copies, base{:});
%!   for k = 1:rows (cases)
%!     [what, change, more, expected] = cases{k, :};
%!     change ();
%!     reads_since_last ();
%!     results = vesk_batch (copies, base{:}, more{:});
%!     assert (sort (reads_since_last ()), sort ([expected; copies(end)]), what);
%!     want = vesk_batch (copies, options{:}, more{:});
%!     assert_same_rows (results, want, what, {"file", "distribution", "level", "size", "class", "map", "signedMap", "errorIdentifier"});
%!   endfor
%! unwind_protect_cleanup
%!   remove_folder (output);
%!   remove_folder (fullfile (folder, "changed"));
%! end_unwind_protect

## Every file is written under a temporary name and renamed: a run leaves
## none; it removes those an earlier, stopped run left for its own images
## (and no other's); a file that cannot be renamed into place fails its
## image and leaves no temporary, and no record that would make it complete.
%!test
%! output = fullfile (folder, "atomic");
%! table = fullfile (folder, "atomic.csv");
%! unwind_protect
%!   mkdir (output);
%!   mkdir (fullfile (output, "done"));
%!   strays = {"image_001.vesk-partial-99.mat", "image_002_vesk.vesk-partial-7.png", ...
%!             "image_003_vesk2.vesk-partial-12345.png", fullfile("done", "image_004.vesk-partial-1.mat")};
%!   others = {"someone_else.vesk-partial-3.png", "image_001.png.bak"};
%!   for name = [strays, others]
%!     fclose (fopen (fullfile (output, name{1}), "w"));
%!   endfor
%!   fclose (fopen (fullfile (folder, "atomic.vesk-partial-5.csv"), "w"));
%!   mkdir (fullfile (output, "image_002_vesk2.png"));  # no file can be renamed onto a folder
%!   results = vesk_batch (files, options{:}, "OutputFolder", output, "CsvFile", table);
%!   assert (partial_files (output), {fullfile(output, others{1})});
%!   assert (isempty (partial_files (folder)(! strncmp (partial_files (folder), output, numel (output)))));
%!   assert (exist (fullfile (output, others{2}), "file"), 2);
%!   assert (results(2).errorIdentifier, "vesk_batch:writeFailed");
%!   assert (! exist (fullfile (output, "done", "image_002.mat"), "file"));
%!   good = setdiff (1:numel (files), [2, numel(files)]);
%!   assert_same_rows (results(good), moved (fresh(good), fresh_dir, output), "atomic");
%!   for k = good
%!     [~, stem] = fileparts (files{k});
%!     assert (exist (fullfile (output, "done", [stem ".mat"]), "file"), 2);
%!   endfor
%! unwind_protect_cleanup
%!   remove_folder (output);
%!   delete (table);
%! end_unwind_protect

## Shares: for each number of files and shares, every file in exactly one
## share, each share in sorted order and at most one file longer than
## another, whatever order the files were given in; the same shares when
## resumed, read back whole; output names those of the whole list.
%!test
%! cases = [0 1; 1 1; 1 3; 2 2; 5 2; 7 3; 10 4; 4 9; 10 10];
%! output = fullfile (folder, "shares");
%! unwind_protect
%!   for c = 1:rows (cases)
%!     [count, n] = deal (cases(c, 1), cases(c, 2));
%!     given = files(mod ((1:count) * 7, numel (files)) + 1);  # shuffled, no repeats for count <= 10
%!     shares = cell (n, 1);
%!     for k = 1:n
%!       share = vesk_batch (given, options{:}, "Shard", [k n], "OutputFolder", output);
%!       shares{k} = reshape ({share.file}, [], 1);
%!       assert (shares{k}, sort (shares{k}));
%!       reads_since_last ();
%!       again = vesk_batch (given, options{:}, "Shard", [k n], "OutputFolder", output, "Resume", true);
%!       assert_same_rows (again, share, sprintf ("%d files, share %d of %d resumed", count, k, n));
%!       assert (all (strcmp (reads_since_last (), fullfile (folder, "image_broken.png"))));
%!     endfor
%!     everything = vertcat (shares{:});
%!     assert (sort (everything), sort (given(:)), sprintf ("%d files in %d shares", count, n));
%!     lengths = cellfun (@numel, shares);
%!     assert (max (lengths) - min (lengths) <= 1);
%!     remove_folder (output);
%!   endfor
%!   ## Files whose output names clash get the names of the whole sorted list.
%!   twins = {fullfile(folder, "image_001.png"); fullfile(folder, "twin", "image_001.png")};
%!   mkdir (fullfile (folder, "twin"));
%!   copyfile (twins{1}, twins{2});
%!   whole = vesk_batch (twins, options{:}, "OutputFolder", output);
%!   remove_folder (output);
%!   parts = [vesk_batch(twins([2 1]), options{:}, "OutputFolder", output, "Shard", [1 2]).outputFiles, ...
%!            vesk_batch(twins([2 1]), options{:}, "OutputFolder", output, "Shard", [2 2]).outputFiles];
%!   assert (sort (parts), sort ([whole.outputFiles]));
%!   assert (any (strcmp (parts, fullfile (output, "image_001_2.mat"))));
%! unwind_protect_cleanup
%!   remove_folder (output);
%!   remove_folder (fullfile (folder, "twin"));
%! end_unwind_protect

## Shard 'auto' takes the share from the Slurm job array's task: each row
## the task's variables (ID, MIN, COUNT, STEP; "" unset) and the share, or
## the error.
%!test
%! names = {"SLURM_ARRAY_TASK_ID", "SLURM_ARRAY_TASK_MIN", "SLURM_ARRAY_TASK_COUNT", "SLURM_ARRAY_TASK_STEP"};
%! cases = {
%!   {"3", "1", "4", ""},    [3 4]
%!   {"0", "0", "4", "1"},   [1 4]
%!   {"9", "5", "5", ""},    [5 5]
%!   {"6", "2", "3", "2"},   [3 3]
%!   {"", "", "", ""},       "vesk_batch:noArrayTask"
%!   {"2", "", "4", ""},     "vesk_batch:noArrayTask"
%!   {"7", "1", "3", ""},    "vesk_batch:arrayTask"
%!   {"4", "1", "3", "2"},   "vesk_batch:arrayTask"
%! };
%! saved = cellfun (@getenv, names, "UniformOutput", false);
%! unwind_protect
%!   for c = 1:rows (cases)
%!     for v = 1:numel (names)
%!       if (isempty (cases{c, 1}{v}))
%!         unsetenv (names{v});
%!       else
%!         setenv (names{v}, cases{c, 1}{v});
%!       endif
%!     endfor
%!     what = strjoin (cases{c, 1}, ",");
%!     if (ischar (cases{c, 2}))
%!       try
%!         vesk_batch (files, options{:}, "Shard", "auto");
%!         error ("%s: not refused", what);
%!       catch err
%!         assert (err.identifier, cases{c, 2}, what);
%!       end_try_catch
%!     else
%!       auto = vesk_batch (files, options{:}, "Functions", "Vesk", "Shard", "auto");
%!       given = vesk_batch (files, options{:}, "Functions", "Vesk", "Shard", cases{c, 2});
%!       assert ({auto.file}, {given.file}, what);
%!     endif
%!   endfor
%! unwind_protect_cleanup
%!   for v = 1:numel (names)
%!     if (isempty (saved{v}))
%!       unsetenv (names{v});
%!     else
%!       setenv (names{v}, saved{v});
%!     endif
%!   endfor
%! end_unwind_protect

## vesk_batch_merge: the shares' tables (CSV files by pattern, result
## structs, or both) give the rows of a single run, in its order, and its
## table byte for byte; a share left out is reported file by file.
%!test
%! given = files([4 1 10 7 2 9 3 8 5 6]);
%! single_csv = fullfile (folder, "single.csv");
%! shares_csv = fullfile (folder, "merge.csv");
%! merged_csv = fullfile (folder, "merged.csv");
%! fields = {"file", "distribution", "level", "size", "class", "errorIdentifier", "errorMessage"};
%! unwind_protect
%!   single = vesk_batch (given, options{:}, "CsvFile", single_csv);
%!   shares = cell (1, 3);
%!   for k = 1:3
%!     shares{k} = vesk_batch (given, options{:}, "Shard", [k 3], "CsvFile", shares_csv);
%!   endfor
%!   pattern = fullfile (folder, "merge.shard-*-of-3.csv");
%!   assert (numel (dir (pattern)), 3);
%!   [merged, missing] = vesk_batch_merge (pattern, "Files", given, "CsvFile", merged_csv);
%!   assert_same_rows (merged, single, "merged CSV files", fields);
%!   assert (isempty (missing) && iscell (missing));
%!   assert (fileread (merged_csv), fileread (single_csv));
%!   assert_same_rows (vesk_batch_merge (shares, "Files", given), single, "merged results", fields);
%!   mixed = vesk_batch_merge ({shares{2}, fullfile(folder, "merge.shard-1-of-3.csv"), shares{3}});
%!   [~, order] = sort (given);
%!   assert_same_rows (mixed, single(order), "mixed, sorted by file", fields);
%!   ## The folder and pattern the batch was given: its order.
%!   assert_same_rows (vesk_batch_merge (pattern, "Files", folder, "Pattern", "*.png"),
%!                     single(order), "Files as folder and pattern", fields);
%!   ## A share that did not run.
%!   lastwarn ("");
%!   [partial, missing] = vesk_batch_merge (shares([1 3]), "Files", given);
%!   assert (missing, given(ismember (given, {shares{2}.file})));
%!   [~, identifier] = lastwarn ();
%!   assert (identifier, "vesk_batch_merge:missing");
%!   assert ({partial.file}', given(! ismember (given, {shares{2}.file})));
%!   ## Without Files, the shares' CSV names tell a missing share.
%!   delete (fullfile (folder, "merge.shard-2-of-3.csv"));
%!   lastwarn ("");
%!   vesk_batch_merge (pattern);
%!   [message, identifier] = lastwarn ();
%!   assert (identifier, "vesk_batch_merge:missing");
%!   assert (! isempty (strfind (message, "share 2 of 3")), message);
%!   ## Shares of another run, or twice the same share.
%!   cases = {
%!     @() vesk_batch_merge (shares([1 1])),                       "vesk_batch_merge:duplicate"
%!     @() vesk_batch_merge (shares, "Files", given(1:5)),         "vesk_batch_merge:notInFiles"
%!     @() vesk_batch_merge (fullfile (folder, "none-*.csv")),     "vesk_batch_merge:sources"
%!     @() vesk_batch_merge (files{1}),                            "vesk_batch_merge:notTable"
%!     @() vesk_batch_merge (42),                                  "vesk_batch_merge:sources"
%!     @() vesk_batch_merge (shares, "Order", 1),                  "vesk_batch_merge:option"
%!     @() vesk_batch_merge (),                                    "vesk_batch_merge:nargin"
%!   };
%!   for c = 1:rows (cases)
%!     try
%!       cases{c, 1} ();
%!       error ("%s: not refused", func2str (cases{c, 1}));
%!     catch err
%!       assert (err.identifier, cases{c, 2}, func2str (cases{c, 1}));
%!     end_try_catch
%!   endfor
%! unwind_protect_cleanup
%!   delete (fullfile (folder, "*.csv"));
%! end_unwind_protect

## The table keeps every character of every file name, and a name a
## spreadsheet would take for a formula starts with a single quote there;
## vesk_batch_merge reads the names back as they were.
%!test
%! names = {"=1+2.png"; "a,b.png"; "say \"hi\".png"; "two\nlines.png"; "\tlead.png"; ...
%!          "+x.png"; "-x.png"; "@x.png"; "'q.png"; "\rcr.png"; "plain.png"; "missing=.png"};
%! inert = [true; false; false; false; true; true; true; true; true; true; false; false];
%! here = pwd ();
%! names_dir = tempname ();
%! mkdir (names_dir);
%! unwind_protect
%!   cd (names_dir);
%!   for k = 1:numel (names) - 1
%!     imwrite (uint8 (mod (magic (20) * k, 256)), names{k});
%!   endfor
%!   results = vesk_batch (names, "Progress", false, "CsvFile", "table.csv");
%!   assert (cellfun ("isempty", {results.errorIdentifier}), [true(1, 11), false]);
%!   text = fileread ("table.csv");
%!   for k = 1:numel (names)
%!     field = ["\"" strrep(names{k}, "\"", "\"\"") "\""];
%!     if (inert(k))
%!       field = ["\"'" field(2:end)];
%!     endif
%!     assert (! isempty (strfind (text, [sprintf("\n") field ","])), "%s: not written as %s", names{k}, field);
%!   endfor
%!   back = vesk_batch_merge ("table.csv", "Files", names);
%!   assert ({back.file}', names);
%!   assert_same_rows (back, results, "names read back", fieldnames (back));
%! unwind_protect_cleanup
%!   cd (here);
%!   remove_folder (names_dir);
%! end_unwind_protect

## Shares that start together: the output folders made by another share
## between the check and mkdir (mkdir then fails with "File exists") are
## taken as they are, not refused.
%!test
%! raced = fullfile (folder, "raced");
%! shadow = fullfile (folder, "mkdir_loses_the_race");
%! mkdir (shadow);
%! fid = fopen (fullfile (shadow, "mkdir.m"), "w");
%! fputs (fid, ["function [ok, message, id] = mkdir (varargin)\n" ...
%!              "  __mkdir__ (varargin{:});\n" ...
%!              "  ok = false; message = 'File exists'; id = 'mkdir';\n" ...
%!              "end\n"]);
%! fclose (fid);
%! addpath (shadow);
%! unwind_protect
%!   raced_rows = vesk_batch (files, options{:}, "OutputFolder", raced, "Shard", [1 2]);
%! unwind_protect_cleanup
%!   rmpath (shadow);
%! end_unwind_protect
%! assert (isfolder (fullfile (raced, "done")));
%! assert_same_rows (raced_rows, moved (fresh(1:2:end), fresh_dir, raced), "raced share");

## The help texts name the options, the rules a user relies on, and run
## their examples.
%!test
%! text = get_help_text ("vesk_batch");
%! for f = {"'Resume'", "'Shard'", "done/NAME.mat", "vesk-partial", "SLURM_ARRAY_TASK_ID", ...
%!          "SLURM_ARRAY_TASK_MIN", "SLURM_ARRAY_TASK_COUNT", "vesk_batch:noArrayTask", ...
%!          "NAME.shard-K-of-N.EXT", "single quote", "VESK_BATCH_MERGE"}
%!   assert (! isempty (strfind (text, f{1})), "help vesk_batch lacks \"%s\"", f{1});
%! endfor
%! text = get_help_text ("vesk_batch_merge");
%! for f = {"'Files'", "'CsvFile'", "MISSING", "vesk_batch_merge:missing", "single quote", "See also"}
%!   assert (! isempty (strfind (text, f{1})), "help vesk_batch_merge lacks \"%s\"", f{1});
%! endfor
%! run_help_example ("vesk_batch_merge");

%!test
%! remove_folder (folder);
%! clear -global vesk_batch_reads
