## The MATLAB toolbox's definition (matlab/toolbox/vesk_toolbox.m) against
## the release archive the release_archive test packed and unpacked: the
## toolbox holds every file of the archive but the Octave package, and only
## those, its functions and example among them; it names the macOS plug-ins
## it still needs, and none once they are there. MATLAB itself packs it on
## the hosted runners. Run with run_suite ("toolbox_suite.m").

%!function name = basename (folder)
%!  [~, name, after_dot] = fileparts (folder);  # vesk-1.0.0: .0 is no extension
%!  name = [name after_dot];
%!endfunction

## The archive's own listing, read from the zip, less its top folder.
%!function files = archive_files (archive, top)
%!  [status, listed] = system (sprintf ("cmake -E tar tf '%s'", archive));
%!  assert (status, 0, listed);
%!  listing = strsplit (strtrim (listed), "\n");
%!  files = listing(cellfun ("isempty", regexp (listing, '/$', "once")));
%!  files = sort (regexprep (files, ['^' regexptranslate("escape", top) '/'], ""));
%!endfunction

%!shared release, archive
%! release = getenv ("VESK_RELEASE_DIR");
%! archive = fullfile (fileparts (fileparts (release)), [basename(release) ".zip"]);
%! addpath (fullfile (getenv ("VESK_SOURCE_DIR"), "matlab", "toolbox"));

%!test
%! toolbox = vesk_toolbox (release);
%! files = archive_files (archive, basename (release));
%! package = files(! cellfun ("isempty", regexp (files, '^vesk-[^/]*\.tar\.gz$', "once")));
%! assert (numel (package), 1);
%! assert (toolbox.files, setdiff (files, package));
%! assert (toolbox.version, regexprep (basename (release), '^vesk-', ""));
%! for name = toolbox.functions
%!   assert (any (strcmp (toolbox.files, [name{1} ".m"])), "no %s.m in the toolbox", name{1});
%! endfor
%! assert (any (strcmp (toolbox.files, toolbox.gettingStarted)));
%! assert (any (strcmp (toolbox.files, "private/not_compiled_message.m")));
%! assert (all (ismember ({"Vesk.mexw64", "Vesk2.mexw64", "Vesk.mexa64", "Vesk2.mexa64"}, toolbox.files)));
%! assert (toolbox.missing, {"Vesk.mexmaci64", "Vesk2.mexmaci64", "Vesk.mexmaca64", "Vesk2.mexmaca64"});
%! assert (! isempty (regexp (toolbox.identifier, '^[0-9a-f]{8}(-[0-9a-f]{4}){3}-[0-9a-f]{12}$', "once")));
%! assert (! isempty (toolbox.summary) && ! isempty (toolbox.description) && ! isempty (toolbox.name));

## With the macOS plug-ins added, as the release job adds them.
%!test
%! copy = fullfile (tempname (), basename (release));
%! mkdir (copy);
%! unwind_protect
%!   copyfile (fullfile (release, "*"), copy);
%!   added = {"Vesk.mexmaci64", "Vesk2.mexmaci64", "Vesk.mexmaca64", "Vesk2.mexmaca64"};
%!   for name = added
%!     fclose (fopen (fullfile (copy, name{1}), "w"));
%!   endfor
%!   toolbox = vesk_toolbox (copy);
%!   assert (isempty (toolbox.missing), strjoin (toolbox.missing, ", "));
%!   assert (toolbox.files, sort ([vesk_toolbox(release).files, added]));
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (fileparts (copy), "s");
%! end_unwind_protect

## Only a release folder makes a toolbox.
%!error <not an unpacked release folder> vesk_toolbox (tempdir ())

## Every function the toolbox puts on the path has its help there, as the
## MATLAB suite checks in MATLAB.
%!test
%! toolbox = vesk_toolbox (release);
%! addpath (release);
%! unwind_protect
%!   for name = toolbox.functions
%!     text = get_help_text (name{1});
%!     assert (! isempty (strfind (text, "See also")), "help %s: %s", name{1}, text);
%!   endfor
%! unwind_protect_cleanup
%!   rmpath (release);
%! end_unwind_protect

## The workflow tests the oldest release the toolbox claims, and the release
## job takes the macOS plug-ins from matrix legs that exist.
%!test
%! toolbox = vesk_toolbox (release);
%! workflow = fileread (fullfile (getenv ("VESK_SOURCE_DIR"), ".github", "workflows", "hosted-runners.yml"));
%! legs = regexp (workflow, '\{ os: ([\w-]+), release: (\w+) \}', "tokens");
%! legs = vertcat (legs{:});
%! numbered = legs(! strcmp (legs(:, 2), "latest"), 2);
%! numbered = sort (numbered);
%! assert (numbered{1}, toolbox.minimumRelease);
%! used = regexp (workflow, 'name: macos-plugins-([\w-]+)-(R\d{4}[ab])\n', "tokens");
%! assert (numel (used), 2);
%! for k = 1:numel (used)
%!   assert (any (strcmp (legs(:, 1), used{k}{1}) & strcmp (legs(:, 2), used{k}{2})),
%!           "no matrix leg %s %s", used{k}{:});
%! endfor
