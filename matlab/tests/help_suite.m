## The help text users get from `help Vesk` and `help Vesk2`.
## Run with run_suite ("help_suite.m").

%!function check_help (name, outputs, warning_reason)
%!  text = get_help_text (name);
%!  lines = strsplit (text, "\n");
%!  ## H1 line: the name in capitals, then a one-line summary.
%!  assert (! isempty (regexp (lines{1}, ['^\s*' upper(name) '\s+\S'], "once")),
%!          "%s: H1 line \"%s\"", name, lines{1});
%!  fragments = [outputs, {[outputs{1} " = " name "(IMG)"], ...
%!               ["[" outputs{1} ", " outputs{2} "] = " name "(IMG)"], ...
%!               "Example:", "See also", "rgb2gray", "double(IMG)"}];
%!  for reason = {"nargin", "nargout", "unsupportedClass", "sparse", "complex", "notMatrix", ...
%!                "tooLarge", "outOfMemory", warning_reason}
%!    fragments{end+1} = [name ":" reason{1}];
%!  endfor
%!  ## Every class it takes, and how to silence its warning.
%!  fragments = [fragments, {"single", "uint8", "uint16", "int16", "logical", "im2double", ...
%!               ["warning('off', '" name ":" warning_reason "')"]}];
%!  assert (isempty (strfind (text, "notDouble")), "%s: help still names notDouble", name);
%!  for f = fragments
%!    assert (! isempty (strfind (text, f{1})), "%s: help lacks \"%s\"", name, f{1});
%!  endfor
%!  ## What the help command prints is that text.
%!  printed = evalc (["help " name]);
%!  assert (! isempty (strfind (printed, strtrim (lines{1}))), "help %s printed: %s", name, printed);
%!  assert (! isempty (strfind (printed, "See also")));
%!  ## help finds the text although the function itself is the compiled one
%!  ## (a .mex file takes it from the .m file beside it, a .oct file has it
%!  ## compiled in): the very text of the .m file.
%!  assert (! isempty (regexp (which (name), '\.(mex|oct)$', "once")), which (name));
%!  help_file = fullfile (getenv ("VESK_SOURCE_DIR"), "matlab", [name ".m"]);
%!  assert (text, get_help_text (help_file));
%!endfunction

%!test check_help ("Vesk", {"MAP", "DIST"}, "intensityScale");
%!test check_help ("Vesk2", {"SMAP", "LEVEL"}, "greyLevelScale");

## The example of each help text runs as written, in a folder of the user's.
%!test run_help_example ("Vesk");
%!test run_help_example ("Vesk2");

## Where no compiled plug-in comes first on the path (the source tree, or
## the release, whose plug-ins are MATLAB's), the help file runs: an error
## with an identifier saying what to do; help still works.
%!function check_not_compiled (folder)
%!  for name = {"Vesk", "Vesk2"}
%!    F = str2func (name{1});
%!    help_file = fullfile (folder, [name{1} ".m"]);
%!    assert (which (name{1}), help_file);
%!    for call = {@() F(magic (4)), @() F(), @() F(1, 2)}
%!      try
%!        call{1}();
%!        error ("%s ran", func2str (call{1}));
%!      catch err
%!        assert (err.identifier, [name{1} ":notCompiled"]);
%!        for fragment = {help_file, ["no " name{1} ".oct or " name{1} ".mex"], "pkg install vesk-<version>.tar.gz", ...
%!                        "octave-dev", "pkg load vesk", ["rmpath('" folder "')"]}
%!          assert (! isempty (strfind (err.message, fragment{1})),
%!                  "message \"%s\" lacks \"%s\"", err.message, fragment{1});
%!        endfor
%!      end_try_catch
%!    endfor
%!    printed = evalc (["help " name{1}]);
%!    assert (! isempty (regexp (printed, ['\<' upper(name{1}) '\s+\S'], "once")), printed);
%!  endfor
%!endfunction
%!test with_folder_on_path (@copy_help_files, @check_not_compiled);

## What MATLAB users on a platform without a plug-in are told (the helper
## called as a plain function, with MATLAB's advice asked for).
%!function copy_helper (folder)
%!  copyfile (fullfile (getenv ("VESK_SOURCE_DIR"), "matlab", "private", "not_compiled_message.m"), folder);
%!endfunction
%!function check_matlab_advice (folder)
%!  message = not_compiled_message ("Vesk2", "/some/folder", false);
%!  for fragment = {"No compiled Vesk2 for this MATLAB", ["Vesk2." mexext()], ...
%!                  fullfile("/some/folder", "Vesk2.m"), ".mexw64", ".mexa64", "build_mex", ...
%!                  "mex -setup C++"}
%!    assert (! isempty (strfind (message, fragment{1})), "\"%s\" lacks \"%s\"", message, fragment{1});
%!  endfor
%!endfunction
%!test with_folder_on_path (@copy_helper, @check_matlab_advice);
