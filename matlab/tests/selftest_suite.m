## vesk_selftest, the check users run, against the functions of the build
## folder (MEX or Octave-native): it passes, and it fails in a form CI and users notice when the
## plug-ins are wrong or missing. Run with run_suite ("selftest_suite.m").

%!test
%! [printed, ok] = evalc ("vesk_selftest ()");
%! assert (ok, "%s", printed);
%! assert (! isempty (strfind (printed, which ("Vesk"))), printed);
%! assert (strncmp (which ("Vesk"), getenv ("VESK_FUNCTIONS_DIR"), numel (getenv ("VESK_FUNCTIONS_DIR"))));
%! ## One line per group: both plug-ins, every class, and a summary.
%! lines = strsplit (strtrim (printed), "\n");
%! groups = lines(strncmp (lines, "  ok", 4));
%! assert (numel (groups), 16, printed);
%! for class = {"double", "single", "uint8", "uint16", "int16", "logical"}
%!   assert (sum (! cellfun (@isempty, strfind (groups, [class{1} " images"]))), 2, printed);
%! endfor
%! assert (! isempty (regexp (lines{end}, '^vesk_selftest: 16 of 16 groups passed', "once")), lines{end});
%! ## Without an output it returns nothing and raises nothing.
%! evalc ("vesk_selftest");

## A plug-in that gets one bit wrong (here 0 for -0 in the map) fails its
## groups: false with an output, an error CI catches without one. (The MEX
## file stands in for either build: a copy under another name still loads.)
%!function write_wrong_vesk2 (folder)
%!  copyfile (fullfile (getenv ("VESK_OCTAVE_DIR"), "Vesk2.mex"), fullfile (folder, "right_vesk2.mex"));
%!  fid = fopen (fullfile (folder, "Vesk2.m"), "w");
%!  fprintf (fid, "function [smap, level] = Vesk2 (img)\n");
%!  fprintf (fid, "  [smap, level] = right_vesk2 (img);\n");
%!  fprintf (fid, "  smap(smap == 0) = 0;\n");
%!  fprintf (fid, "end\n");
%!  fclose (fid);
%!endfunction
%!function check_wrong_vesk2 (folder)
%!  [printed, ok] = evalc ("vesk_selftest ()");
%!  assert (! ok, "%s", printed);
%!  assert (! isempty (regexp (printed, 'FAILED  Vesk2 worked examples .*element 1: 0, expected -0', "once")), printed);
%!  assert (! isempty (regexp (printed, '  ok      Vesk  double images', "once")), printed);
%!  try
%!    evalc ("vesk_selftest");
%!    error ("no error raised");
%!  catch err
%!    assert (err.identifier, "vesk_selftest:failed");
%!    assert (! isempty (strfind (err.message, "groups failed")), err.message);
%!  end_try_catch
%!endfunction
%!test with_folder_on_path (@write_wrong_vesk2, @check_wrong_vesk2);

## With only the help files on the path it says why at once.
%!function check_not_callable (folder)
%!  [printed, ok] = evalc ("vesk_selftest ()");
%!  assert (! ok, "%s", printed);
%!  assert (! isempty (strfind (printed, "FAILED: Vesk cannot be called here: No compiled Vesk for Octave")), printed);
%!  assert (isempty (strfind (printed, "images")), printed);
%!endfunction
%!test with_folder_on_path (@copy_help_files, @check_not_callable);
