## The release archive as its users get it, unpacked by the release_archive
## test: its M code runs in MATLAB too; an Octave user who puts the folder on
## the path gets a clear error naming the package inside; that package
## installs with pkg and passes its checks; build_mex compiles the plug-ins
## from the folder's own sources. Run with run_suite ("release_suite.m").

%!shared release, package
%! release = getenv ("VESK_RELEASE_DIR");
%! package = dir (fullfile (release, "vesk-*.tar.gz"));
%! assert (numel (package), 1);
%! package = fullfile (release, package.name);

%!test
%! [~, listed] = system (sprintf ("find '%s' -name '*.m'", release));
%! files = strsplit (strtrim (listed), "\n");
%! assert (numel (files) >= 5, listed);
%! problems = cellfun (@octave_only_syntax, files, "UniformOutput", false);
%! problems = [problems{:}];
%! assert (isempty (problems), "Octave-only syntax in the release:\n%s", strjoin (problems, "\n"));

## addpath of the folder, as the issue's Octave user did: Vesk:notCompiled
## with the way out, help as usual, and vesk_selftest saying the same.
%!test
%! rmpath (getenv ("VESK_OCTAVE_DIR"));
%! addpath (release);
%! unwind_protect
%!   for name = {"Vesk", "Vesk2"}
%!     try
%!       feval (name{1}, magic (4));
%!       error ("%s ran", name{1});
%!     catch err
%!       assert (err.identifier, [name{1} ":notCompiled"]);
%!       for fragment = {["pkg install '" package "'"], "pkg load vesk", ["rmpath('" release "')"], ...
%!                       [name{1} ".mexa64, " name{1} ".mexw64"]}
%!         assert (! isempty (strfind (err.message, fragment{1})),
%!                 "message \"%s\" lacks \"%s\"", err.message, fragment{1});
%!       endfor
%!     end_try_catch
%!     assert (! isempty (strfind (evalc (["help " name{1}]), [" = " name{1} "(IMG)"])));
%!   endfor
%!   [printed, ok] = evalc ("vesk_selftest ()");
%!   assert (! ok && ! isempty (strfind (printed, "No compiled Vesk for Octave")), printed);
%! unwind_protect_cleanup
%!   rmpath (release);
%!   addpath (getenv ("VESK_OCTAVE_DIR"));
%! end_unwind_protect

## The package the message names: pkg install, then everything an Octave
## user gets from it (vesk_selftest passing, the demo, help, lookfor).
%!test
%! rmpath (getenv ("VESK_OCTAVE_DIR"));
%! unwind_protect
%!   check_installed_package (package);
%! unwind_protect_cleanup
%!   addpath (getenv ("VESK_OCTAVE_DIR"));
%! end_unwind_protect

## A MATLAB user on a platform without a plug-in runs build_mex in the
## folder; here Octave's mex stands in for MATLAB's.
%!function copy_release (folder)
%!  copyfile (fullfile (getenv ("VESK_RELEASE_DIR"), "*"), folder);
%!  rmpath (getenv ("VESK_OCTAVE_DIR"));
%!endfunction
%!function check_build_mex (folder)
%!  evalc ("build_mex");
%!  rehash ();  # as the prompt does before the user's next command
%!  assert (which ("Vesk"), fullfile (folder, "Vesk.mex"));
%!  assert (which ("Vesk2"), fullfile (folder, "Vesk2.mex"));
%!  [printed, ok] = evalc ("vesk_selftest ()");
%!  assert (ok, "%s", printed);
%!endfunction
%!test with_folder_on_path (@copy_release, @check_build_mex);
