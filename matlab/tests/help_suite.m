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
%!                "tooLarge", warning_reason}
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
%!  ## help finds the text although the function itself is the compiled one.
%!  assert (! isempty (regexp (which (name), '\.mex$', "once")), which (name));
%!endfunction

%!test check_help ("Vesk", {"MAP", "DIST"}, "intensityScale");
%!test check_help ("Vesk2", {"SMAP", "LEVEL"}, "greyLevelScale");

## The example of each help text runs as written.
%!test
%! for name = {"Vesk", "Vesk2"}
%!   text = get_help_text (name{1});
%!   example = regexp (text, 'Example:\n(.*?)\n\s*\n', "tokens", "once"){1};
%!   example = strrep (example, "'camera.png'", "fullfile (getenv ('VESK_DATA_DIR'), 'camera.png')");
%!   warning ("off", "Octave:gnuplot-graphics");
%!   graphics_toolkit ("gnuplot");
%!   figure ("visible", "off");
%!   unwind_protect
%!     evalc (example);
%!   unwind_protect_cleanup
%!     close all;
%!   end_unwind_protect
%! endfor
