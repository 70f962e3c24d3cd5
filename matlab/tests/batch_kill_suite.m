## A batch killed with SIGKILL at random moments, in a fresh octave-cli as
## a user's job is, goes on with Resume to the bits of a run never stopped:
## the rows, the maps, the CSV table and the PNG images; no temporary is
## left. Each round kills a fresh run, then a resumed run of what it left,
## then resumes here. Run with run_suite ("batch_kill_suite.m").

%!function compare_outputs (output, fresh_dir)
%!  ## The same files, PNG images byte for byte, MAT files variable by variable.
%!  [~, listed] = system (sprintf ("cd '%s' && find . -type f | sort", fresh_dir));
%!  [~, here] = system (sprintf ("cd '%s' && find . -type f | sort", output));
%!  assert (here, listed);
%!  for name = strsplit (strtrim (listed), "\n")
%!    [a, b] = deal (fullfile (output, name{1}), fullfile (fresh_dir, name{1}));
%!    if (! isempty (regexp (name{1}, '\.png$', "once")))
%!      assert (fileread (a) == fileread (b), a);
%!    elseif (isempty (strfind (name{1}, "done")))
%!      [got, want] = deal (load (a), load (b));
%!      assert (fieldnames (got), fieldnames (want), a);
%!      assert (got.file, want.file);
%!      for field = {"map", "distribution", "signedMap", "level"}
%!        assert_same_bits (got.(field{1}), want.(field{1}), [a " " field{1}]);
%!      endfor
%!    endif
%!  endfor
%!endfunction

%!test
%! warning ("off", "all");
%! [folder, files] = batch_images (40, 64);
%! fid = fopen (fullfile (folder, "image_broken.png"), "w");
%! fputs (fid, "not an image\n");
%! fclose (fid);
%! unwind_protect
%!   options = {"Progress", false, "OutputFolder"};
%!   fresh_dir = fullfile (folder, "fresh");
%!   fresh_csv = fullfile (folder, "fresh.csv");
%!   fresh = vesk_batch (folder, "*.png", options{:}, fresh_dir, "ReturnMaps", true,
%!                       "CsvFile", fresh_csv);
%!   output = fullfile (folder, "killed");
%!   table = fullfile (folder, "killed.csv");
%!   script = fullfile (folder, "run_batch.m");
%!   fid = fopen (script, "w");
%!   fprintf (fid, "warning ('off', 'all');\naddpath ('%s');\n", getenv ("VESK_OCTAVE_DIR"));
%!   fprintf (fid, "vesk_batch ('%s', '*.png', 'OutputFolder', '%s', 'CsvFile', '%s', ", folder, output, table);
%!   fprintf (fid, "'Resume', true, 'Progress', false);\n");
%!   fclose (fid);
%!   octave = fullfile (OCTAVE_HOME (), "bin", "octave-cli");
%!   arguments = {"--no-gui", "--norc", "--quiet", script};
%!   ## How long a run takes that is not stopped, start-up included.
%!   started = tic ();
%!   assert (system (sprintf ("'%s' %s", octave, strjoin (arguments, " "))), 0);
%!   whole = toc (started);
%!   rand ("state", 20261211);
%!   moments = rand (10, 1) * whole;
%!   stopped_midway = 0;
%!   for round = 1:5
%!     remove_folder (output);
%!     for kill_in_round = 1:2
%!       [in, out, pid] = popen2 (octave, arguments);
%!       pause (moments(2 * round + kill_in_round - 2));
%!       kill (pid, 9);
%!       waitpid (pid);
%!       fclose (in);
%!       fclose (out);
%!       done = numel (dir (fullfile (output, "done", "*.mat")));
%!       stopped_midway += done > 0 && done < numel (files);
%!     endfor
%!     resumed = vesk_batch (folder, "*.png", options{:}, output, "ReturnMaps", true,
%!                           "CsvFile", table, "Resume", true);
%!     for k = 1:numel (fresh)
%!       fresh(k).outputFiles = strrep (fresh(k).outputFiles, fresh_dir, output);
%!     endfor
%!     assert_same_rows (resumed, fresh, sprintf ("round %d", round));
%!     for k = 1:numel (fresh)
%!       fresh(k).outputFiles = strrep (fresh(k).outputFiles, output, fresh_dir);
%!     endfor
%!     assert (fileread (table), fileread (fresh_csv));
%!     compare_outputs (output, fresh_dir);
%!     [~, partial] = system (sprintf ("find '%s' -name '*.vesk-partial-*'", folder));
%!     assert (isempty (strtrim (partial)), partial);
%!   endfor
%!   printf ("batch_kill_suite: a run takes %.2f s; killed at %s s; %d of 10 kills left the batch midway\n",
%!           whole, mat2str (moments', 2), stopped_midway);
%! unwind_protect_cleanup
%!   remove_folder (folder);
%! end_unwind_protect
