## Every kind of value Octave may hand the functions, through both builds
## (the MEX files and the Octave-native functions) in one session: what
## Octave stores in a form of its own (ranges, diagonal and permutation
## matrices, lazy indices, integer literals beyond 2^53, sparse matrices) and
## objects whose class is named like a numeric one, each against the call on
## the plain matrix it stands for, bit for bit, or its refusal, with the same
## words from both builds. Then: out of memory in a child Octave under a
## memory limit, with the next call exact; and the output lists a C++ caller
## gets (octave::feval) for nargout 0, 1 and 2. Run with run_suite
## ("value_kinds_suite.m").

## The plain matrix X stands for, of its class, built element by element.
%!function y = plain (x)
%!  if (islogical (x))
%!    y = false (size (x));
%!  else
%!    y = zeros (size (x), class (x));
%!  endif
%!  y(:) = x(:);
%!endfunction

## The kinds that are stored in a form of their own.
%!function yes = special_kind (kind)
%!  yes = any (strcmp (kind, {"double_range", "range", "diagonal matrix", ...
%!                            "float diagonal matrix", "complex diagonal matrix", ...
%!                            "permutation matrix", "lazy_index", "magic_int", ...
%!                            "magic_uint", "sparse matrix", "sparse bool matrix", ...
%!                            "sparse complex matrix", "octave_java", "object"}));
%!endfunction

## Old-style classes (@uint8, @logical) and classdef classes (int32,
## uint16, int16) in a temporary folder, each with a double method; one
## object of each, made with only its own folder on the path, which is then
## removed (a class named int32 shadows the built-in function). Octave
## makes no object of a classdef class named double: its constructor's
## object is a matrix.
%!function objects = class_named_objects (folder)
%!  specs = {"uint8", "old"; "logical", "old"; "int32", "classdef"; "uint16", "classdef";
%!           "int16", "classdef"};
%!  objects = struct ();
%!  for k = 1:rows (specs)
%!    [name, style] = specs{k, :};
%!    home = fullfile (folder, sprintf ("%s_%s", style, name));
%!    if (strcmp (style, "old"))
%!      mkdir (fullfile (home, ["@" name]));
%!      write_file (fullfile (home, ["@" name], [name ".m"]),
%!                  sprintf ("function o = %s (v)\n  o = class (struct ('v', v), '%s');\nend\n",
%!                           name, name));
%!      write_file (fullfile (home, ["@" name], "double.m"),
%!                  "function d = double (o)\n  d = builtin ('double', o.v);\nend\n");
%!    else
%!      mkdir (home);
%!      write_file (fullfile (home, [name ".m"]),
%!                  sprintf (["classdef %s\n  properties\n    v\n  end\n  methods\n" ...
%!                            "    function o = %s (v)\n      o.v = v;\n    end\n" ...
%!                            "    function d = double (o)\n      d = builtin ('double', o.v);\n" ...
%!                            "    end\n  end\nend\n"], name, name));
%!    endif
%!    addpath (home);
%!    unwind_protect
%!      objects.([style "_" name]) = feval (name, [0 128 255]);
%!    unwind_protect_cleanup
%!      rmpath (home);
%!    end_unwind_protect
%!    assert (class (objects.([style "_" name])), name);
%!    assert (isobject (objects.([style "_" name])));
%!  endfor
%!endfunction
%!function write_file (file, text)
%!  fid = fopen (file, "w");
%!  fputs (fid, text);
%!  fclose (fid);
%!endfunction

%!shared native, mex, objects, folder
%! mex = bind_handles (getenv ("VESK_OCTAVE_DIR"), ".mex");
%! native = bind_handles (getenv ("VESK_OCTAVE_NATIVE_DIR"), ".oct");
%! folder = tempname ();
%! mkdir (folder);
%! objects = class_named_objects (folder);

## Each kind, through both builds: the plain call's bits, or the refusal.
## Columns: the value (an expression; integer literals go into the call
## as written, as Octave keeps them integers only there), the kind Octave
## stores it as, and "" (exact) or the refusal's reason. Integer literals
## through the MEX file are Octave's MEX layer's limitation (it hands the
## integer's bits over as a double): native only.
%!test
%! kinds = {
%!   "1:10",                            "double_range",            ""
%!   "0:0.5:255",                       "double_range",            ""
%!   "255:-1:0",                        "double_range",            ""
%!   "0:0.1:1",                         "double_range",            ""
%!   "-3:300",                          "double_range",            ""
%!   "eye (3) * 7",                     "diagonal matrix",         ""
%!   "diag ([0 128 255])",              "diagonal matrix",         ""
%!   "diag ([0.2 0.5 1])",              "diagonal matrix",         ""
%!   "diag (single ([0 128 255]))",     "float diagonal matrix",   ""
%!   "eye (2) * i",                     "complex diagonal matrix", "complex"
%!   "eye (3)(:, [2 1 3])",             "permutation matrix",      ""
%!   "eye (4)([2 1 4 3], :)",           "permutation matrix",      ""
%!   "find ([0 3 0 5 7] > 0)",          "lazy_index",              ""
%!   "find (magic (4) > 8)",            "lazy_index",              ""
%!   "sparse (eye (3))",                "sparse matrix",           "sparse"
%!   "sparse (true (3))",               "sparse bool matrix",      "sparse"
%!   "sparse (complex (eye (2), 1))",   "sparse complex matrix",   "sparse"
%!   "objects.old_uint8",               "object",                  "unsupportedClass"
%!   "objects.old_logical",             "object",                  "unsupportedClass"
%!   "objects.classdef_int32",          "object",                  "unsupportedClass"
%!   "objects.classdef_uint16",         "object",                  "unsupportedClass"
%!   "objects.classdef_int16",          "object",                  "unsupportedClass"
%!   "4607182418800017408",             "magic_int",               ""
%!   "9007199254740993",                "magic_int",               ""
%!   "-9223372036854775807",            "magic_int",               ""
%!   "18446744073709551615",            "magic_uint",              ""
%! };
%! for name = {"Vesk", "Vesk2"}
%!   for k = 1:rows (kinds)
%!     [expression, kind, reason] = kinds{k, :};
%!     what = sprintf ("%s (%s)", name{1}, expression);
%!     value = eval (expression);
%!     if (isobject (value))
%!       assert (class (value), strsplit (expression, "_"){end}, what);
%!       got = "object";
%!     else
%!       got = eval (["typeinfo (" expression ")"]);
%!       assert (! special_kind (typeinfo (plain (value))), [what ": plain kind"]);
%!     endif
%!     assert (got, kind, [what ": kind"]);
%!     call = ["[first, second] = F (" expression ");"];
%!     builds = {native.(name{1})};
%!     if (! strncmp (kind, "magic_", 6))
%!       builds{end+1} = mex.(name{1});
%!     endif
%!     messages = {};
%!     for b = 1:numel (builds)
%!       F = builds{b};
%!       where = sprintf ("%s, %s", what, functions (F).file);
%!       if (isempty (reason))
%!         lastwarn ("", "");
%!         evalc ("[want_first, want_second] = F (plain (value));");
%!         [~, want_warning] = lastwarn ("", "");
%!         first = second = [];
%!         evalc (call);
%!         [~, warning_id] = lastwarn ();
%!         assert_same_bits (first, want_first, [where ": first output"]);
%!         assert_same_bits (second, want_second, [where ": second output"]);
%!         assert (warning_id, want_warning, [where ": warning"]);
%!       else
%!         try
%!           eval (call);
%!           error ("%s: not refused", where);
%!         catch err
%!           assert (err.identifier, [name{1} ":" reason], [where ": " err.message]);
%!           messages{end+1} = err.message;
%!         end_try_catch
%!       endif
%!     endfor
%!     if (! isempty (reason))
%!       assert (messages{1}, messages{2}, [what ": the builds' words differ"]);
%!       if (strcmp (reason, "unsupportedClass"))
%!         assert (index (messages{1}, "is an object of class") > 0, what);
%!         assert (index (messages{1}, "(double(obj)) where its class defines double") > 0, what);
%!       endif
%!     endif
%!   endfor
%! endfor

## Out of memory in the native functions, in a child Octave under a limit of
## its address space: the map of a 16000 x 16000 uint8 image (1954 MiB) and
## the level array of a 10000 x 10000 double image (382 MiB, after its 763
## MiB map) cannot be had. Each call is refused with the sizes and what
## needs less, gives back what it took, and the next call in the same
## session is exact.
%!testif ; exist ("/proc/self/status", "file")
%! script = fullfile (folder, "out_of_memory.m");
%! write_file (script, strjoin ({
%!   sprintf("addpath ('%s');", getenv ("VESK_OCTAVE_NATIVE_DIR"))
%!   "function kb = resident_kb ()"
%!   "  kb = str2double (regexp (fileread ('/proc/self/status'), 'VmRSS:\\s*(\\d+)', 'tokens'){1}{1});"
%!   "end"
%!   "warning ('off', 'all');  % the scale warnings of the small call"
%!   "images = {zeros(16000, 'uint8'), zeros(10000)};"
%!   "for name = {'Vesk', 'Vesk2'}"
%!   "  F = str2func (name{1});"
%!   "  for k = 1:numel (images)"
%!   "    before = resident_kb ();"
%!   "    try"
%!   "      map = F (images{k});"
%!   "      printf ('no error\\n');"
%!   "    catch err"
%!   "      printf ('%s|%s|%d\\n', err.identifier, err.message, resident_kb () - before);"
%!   "    end"
%!   "    [first, second] = F (magic (40));"
%!   "    printf ('%s\\n', reshape (num2hex ([first(:); second(:)])', 1, []));"
%!   "  end"
%!   "end"}, "\n"));
%! octave = fullfile (OCTAVE_HOME (), "bin", "octave-cli");
%! [status, output] = system (sprintf ("ulimit -v 2097152 && '%s' --no-init-file --no-history --quiet '%s' 2>&1",
%!                                     octave, script));
%! assert (status, 0, output);
%! lines = strsplit (strtrim (output), "\n");
%! assert (numel (lines), 8, output);
%! sizes = {"16000 x 16000 uint8 image the call needs 1954 MiB for the map and 1 MiB of scratch",
%!          "10000 x 10000 double image the call needs 763 MiB for the map and 382 MiB of scratch"};
%! row = 0;
%! for name = {"Vesk", "Vesk2"}
%!   evalc ("[first, second] = native.(name{1}) (magic (40));");
%!   want = reshape (num2hex ([first(:); second(:)])', 1, []);
%!   for k = 1:2
%!     row += 1;
%!     fields = strsplit (lines{row}, "|");
%!     assert (numel (fields), 3, lines{row});
%!     [identifier, message, growth] = fields{:};
%!     assert (identifier, [name{1} ":outOfMemory"], message);
%!     assert (index (message, sizes{k}) > 0, message);
%!     assert (index (message, "a uint8 or logical image needs no level array") > 0, message);
%!     assert (index (message, "a smaller image") > 0, message);
%!     assert (str2double (growth) < 16 * 1024, "%s kept %s kB", name{1}, growth);
%!     row += 1;
%!     assert (lines{row}, want, [name{1} ": the call after running out of memory"]);
%!   endfor
%! endfor

## A C++ caller gets exactly the outputs it asks for: one for nargout 0
## (ans) and 1, two for 2; from both builds.
%!test
%! addpath (getenv ("VESK_OCTAVE_TEST_SUPPORT_DIR"));
%! unwind_protect
%!   for build = {native, mex}
%!     for name = {"Vesk", "Vesk2"}
%!       F = build{1}.(name{1});
%!       assert (isequal (vesk_output_counts (F, magic (4)), [1 1 2]), functions (F).file);
%!     endfor
%!   endfor
%! unwind_protect_cleanup
%!   rmpath (getenv ("VESK_OCTAVE_TEST_SUPPORT_DIR"));
%! end_unwind_protect

%!test
%! confirm_recursive_rmdir (false, "local");
%! rmdir (folder, "s");
%! check_bound (mex, getenv ("VESK_OCTAVE_DIR"), ".mex");
%! check_bound (native, getenv ("VESK_OCTAVE_NATIVE_DIR"), ".oct");
