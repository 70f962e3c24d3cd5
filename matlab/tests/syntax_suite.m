## Every M file that ships (help files, build_mex, the self-test, the demo,
## whatever else lands beside them) must run in MATLAB too, which CI cannot
## run: no Octave-only syntax. Run with run_suite ("syntax_suite.m").

%!function files = m_files (folder, skip)
%!  ## The .m files under FOLDER, leaving out the folders named in SKIP.
%!  files = {};
%!  for entry = dir (folder)'
%!    path = fullfile (folder, entry.name);
%!    if (entry.isdir)
%!      if (! any (strcmp (entry.name, [{".", ".."}, skip])))
%!        files = [files, m_files(path, skip)];
%!      endif
%!    elseif (! isempty (regexp (entry.name, '\.m$', "once")))
%!      files{end+1} = path;
%!    endif
%!  endfor
%!endfunction

%!function files = shipped_m_files ()
%!  ## matlab/ holds the M code that ships and the MATLAB-only code (the
%!  ## toolbox definition, the MATLAB suite); matlab/tests/ the Octave suites.
%!  files = m_files (fullfile (getenv ("VESK_SOURCE_DIR"), "matlab"), {"tests"});
%!endfunction

## The scanner: each row a line of M code and what it must report ("" for
## nothing).
%!test
%! cases = {
%!   "x = 1;  # note",                              "# comment"
%!   "#{",                                          "# comment"
%!   "% says \"hi\", # and != in a comment",        ""
%!   "if a != b",                                   "! or !="
%!   "y = !x;",                                     "! or !="
%!   "  endif",                                     "Octave block end"
%!   "endfunction",                                 "Octave block end"
%!   "end_try_catch",                               "Octave block end"
%!   "end_unwind_protect",                          "Octave block end"
%!   "endwhile",                                    "Octave block end"
%!   "for k = 1:3, x(k) = k; endfor",               "Octave block end"
%!   "unwind_protect",                              "unwind_protect"
%!   "unwind_protect_cleanup",                      "unwind_protect"
%!   "printf ('%d\\n', 1);",                        "Octave-only output"
%!   "x += 1;",                                     "operator with assignment"
%!   "total -= x(k);",                              "operator with assignment"
%!   "x *= 2;",                                     "operator with assignment"
%!   "x++;",                                        "++ or --"
%!   "--x;",                                        "++ or --"
%!   "x--;",                                        "++ or --"
%!   "y = 2 ** 3;",                                 "** (use ^)"
%!   "s = \"text\";",                               "double-quoted string"
%!   "disp ('%'); y = 1; # comment",                "# comment"
%!   "fprintf ('%d\\n', 1); s = sprintf ('a');",    ""
%!   "s = 'it''s # 100% \"fine\" != ! ++ endif';",  ""
%!   "y = x';",                                     ""
%!   "y = x'' + a.' * b' - c(1)' + d{2}';",         ""
%!   "c = {x', 'a#b', [a' 'str!']};",               ""
%!   "z = ['a' 'b']';",                             ""
%!   "n = numel (x) ... \"continued\" # here",      ""
%!   "if a ~= b, disp ('!'); end",                  ""
%!   "y = a - -b; z = [1 -2]; w = x >= -1;",        ""
%!   "ok = endsWith (s, 'x'); endpoint = 1;",       ""
%! };
%! for k = 1:rows (cases)
%!   found = octave_only_syntax (cases(k, 1), "case");
%!   if (isempty (cases{k, 2}))
%!     assert (isempty (found), "%s: reported %s", cases{k, 1}, strjoin (found, "; "));
%!   else
%!     assert (numel (found) == 1, "%s: reported %s", cases{k, 1}, strjoin (found, "; "));
%!     assert (strncmp (found{1}, "case:1: ", 8), found{1});
%!     assert (! isempty (strfind (found{1}, cases{k, 2})), "%s: reported %s", cases{k, 1}, found{1});
%!   endif
%! endfor

## Block comments are prose; a file's problems are named file:line.
%!test
%! file = [tempname() ".m"];
%! unwind_protect
%!   fid = fopen (file, "w");
%!   fprintf (fid, "function y = f(x)\n%%{\nx != \"prose\"\n%%}\ny = x;\ny += 1;\nend\n");
%!   fclose (fid);
%!   assert (octave_only_syntax (file), {[file ":6: operator with assignment such as += (use x = x + ...)"]});
%! unwind_protect_cleanup
%!   delete (file);
%! end_unwind_protect

## The M code that ships, and the MATLAB-only code of the hosted runners
## (matlab/toolbox, matlab/matlab_tests): the folders are scanned, so that new
## files are too.
%!test
%! files = shipped_m_files ();
%! [~, names] = cellfun (@fileparts, files, "UniformOutput", false);
%! expected = {"Vesk", "Vesk2", "not_compiled_message", "build_mex", "vesk_selftest", "vesk_demo", ...
%!             "vesk_batch", "vesk_batch_merge", "batch_options", "contrast_colours", "reference_vesk", ...
%!             "vesk_toolbox", "package_vesk_toolbox", "check_installed_toolbox", ...
%!             "plugins_test", "demo_batch_test", "vesk_release_folder", "vesk_same_bits"};
%! assert (all (ismember (expected, names)), "scanned: %s", strjoin (files, ", "));
%! problems = cellfun (@octave_only_syntax, files, "UniformOutput", false);
%! problems = [problems{:}];
%! assert (isempty (problems), "Octave-only syntax in shipped M code:\n%s", strjoin (problems, "\n"));

## Every M file of the Octave package is one of those scanned, byte for byte.
%!test
%! unpacked = tempname ();
%! unwind_protect
%!   untar (getenv ("VESK_PACKAGE_FILE"), unpacked);
%!   packaged = m_files (unpacked, {});
%!   assert (numel (packaged) >= 5, "package M files: %s", strjoin (packaged, ", "));
%!   scanned = shipped_m_files ();
%!   texts = cellfun (@fileread, scanned, "UniformOutput", false);
%!   for k = 1:numel (packaged)
%!     assert (any (strcmp (fileread (packaged{k}), texts)), "%s is not among the scanned files", packaged{k});
%!   endfor
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (unpacked, "s");
%! end_unwind_protect
