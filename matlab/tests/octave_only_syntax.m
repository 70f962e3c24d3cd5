## PROBLEMS = octave_only_syntax (FILE): one "FILE:LINE: what" for each use
## of syntax that Octave takes and MATLAB does not, in the M file FILE.
## PROBLEMS = octave_only_syntax (LINES, NAME): the same for a cell array of
## lines, reported under NAME.
##
## Looks at code only: comments (%, %{ ... %} blocks, the rest of a line after
## ...) and the contents of single-quoted strings are left out; a quote right
## after a name, a number, a closing bracket, a dot or another quote is a
## transpose, not a string.
function problems = octave_only_syntax (file, name)
  if (iscell (file))
    lines = file;
  else
    name = file;
    lines = strsplit (fileread (file), "\n");
  endif
  problems = {};
  in_block_comment = false;
  for k = 1:numel (lines)
    trimmed = strtrim (lines{k});
    if (in_block_comment || strcmp (trimmed, "%{"))
      in_block_comment = ! strcmp (trimmed, "%}");
      continue;
    endif
    for what = line_problems (code_of (lines{k}))
      problems{end+1} = sprintf ("%s:%d: %s", name, k, what{1});
    endfor
  endfor
endfunction

## The code of one line: comments dropped, each single-quoted string
## reduced to its two quotes.
function code = code_of (line)
  code = "";
  in_string = false;
  k = 1;
  while (k <= numel (line))
    ch = line(k);
    if (in_string)
      if (ch == "'" && k < numel (line) && line(k+1) == "'")
        k += 2;                               # a quote inside the string
        continue;
      endif
      if (ch == "'")
        in_string = false;
        code(end+1) = ch;
      endif
    elseif (ch == "%" || strncmp (line(k:end), "...", 3))
      break;
    else
      if (ch == "'")
        in_string = (k == 1 || ! any (line(k-1) == ["_)]}.'" "a":"z" "A":"Z" "0":"9"]));
      endif
      code(end+1) = ch;
    endif
    k += 1;
  endwhile
endfunction

function found = line_problems (code)
  ## Each row: a pattern in the code, what to say.
  persistent rules = {
    '#',                      "# comment (use %)"
    '"',                      "double-quoted string (use single quotes)"
    '!',                      "! or != (use ~ or ~=)"
    '\<(endif|endwhile|endfor|endfunction|endswitch|endparfor|end_try_catch|end_unwind_protect)\>', ...
                              "Octave block end (use end)"
    '\<unwind_protect(_cleanup)?\>', "unwind_protect (use onCleanup or try/catch)"
    '\<(printf|puts|fputs|fdisp)\>', "Octave-only output function (use fprintf or disp)"
    '\+\+|--\s*($|[;,)])|(^|[;,(=])\s*--', "++ or -- (use x = x + 1)"
    '[-+*/^]=(?!=)',          "operator with assignment such as += (use x = x + ...)"
    '\*\*',                   "** (use ^)"
  };
  found = {};
  for r = 1:rows (rules)
    if (! isempty (regexp (code, rules{r, 1}, "once")))
      found{end+1} = rules{r, 2};
    endif
  endfor
endfunction
