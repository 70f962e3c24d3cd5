## check_installed_package (FILE, MORE): installs the Octave package FILE
## with pkg into a prefix of its own, loads it and checks, from an empty
## folder, what its user gets: pkg describe, each function found once by
## lookfor, the Octave-native functions with their help files beside them,
## the help examples, vesk_selftest passing, the built-in tests (test Vesk,
## pkg test vesk), news and citation, vesk_batch on the shipped photographs
## with 2 workers and its Slurm job-array script beside it, vesk_demo and
## demo Vesk drawing them; then MORE (), a function handle, if given; then
## uninstalls.
## The caller takes the build folder off the path first.
function check_installed_package (file, more)
  assert (isfile (file), "no package %s", file);
  prefix = tempname ();
  work = tempname ();
  mkdir (prefix);
  mkdir (work);
  here = pwd ();
  unwind_protect
    cd (work);
    pkg ("prefix", prefix, prefix);
    pkg ("local_list", fullfile (prefix, "octave_packages"));
    pkg ("install", "-local", file);
    ## Other packages may be installed globally (octave-image often is).
    assert (sum (strcmp (package_names (), "vesk")), 1);
    described = evalc ("pkg describe vesk");
    for fragment = {"Package name:", "vesk", "Depends on:", "octave >= 6.0.0"}
      assert (! isempty (strfind (described, fragment{1})), "pkg describe vesk printed: %s", described);
    endfor
    provided = pkg ("describe", "vesk");
    assert (sort (provided{1}.provides{1}.functions),
            sort ({"Vesk", "Vesk2", "vesk_batch", "vesk_batch_merge", "vesk_demo", "vesk_selftest"}));

    pkg ("load", "vesk");
    for name = {"Vesk", "Vesk2"}
      found = which (name{1});
      ## The Octave-native function, its help file beside it, and only there.
      assert (strncmp (found, prefix, numel (prefix)) && ! isempty (regexp (found, '\.oct$', "once")), found);
      assert (isfile (regexprep (found, '\.oct$', ".m")), found);
      [~, listed] = system (sprintf ("find '%s' -name '%s.m'", prefix, name{1}));
      help_files = strsplit (strtrim (listed), "\n");
      assert (numel (help_files) == 1, "help files: %s", strjoin (help_files, ", "));
      assert (! isempty (strfind (get_help_text (name{1}), [" = " name{1} "(IMG)"])));
      run_help_example (name{1});
    endfor
    found = lookfor ("contrast");
    for name = {"Vesk", "Vesk2"}
      assert (sum (strcmp (found, name{1})) == 1, "lookfor contrast lists: %s", strjoin (found, ", "));
    endfor

    [printed, ok] = evalc ("vesk_selftest ()");
    assert (ok, "%s", printed);

    ## The built-in tests of each function and of the whole package.
    for name = {"Vesk", "Vesk2"}
      [passed, total] = test (name{1});
      assert (passed == total && total > 10, "test %s: %d of %d passed", name{1}, passed, total);
    endfor
    printed = evalc ("pkg test vesk");
    summary = regexp (printed, 'PASS\s+(\d+)\s+FAIL\s+(\d+)', "tokens", "once");
    assert (numel (summary) == 2 && str2double (summary{2}) == 0 && str2double (summary{1}) > 40, ...
            "pkg test vesk printed: %s", printed);
    ## news and citation show what the package ships, for this version.
    version = provided{1}.version;
    assert (! isempty (strfind (evalc ("news vesk"), ["changes for vesk " version " ("])));
    assert (! isempty (strfind (evalc ("citation vesk"), ["version = {" version "}"])));

    ## vesk_batch on the shipped photographs, its workers finding the package.
    run_help_example ("vesk_batch");
    photographs = fullfile (fileparts (which ("vesk_demo")), "data");
    results = vesk_batch (photographs, "*.png", "Workers", 2, "Progress", false);
    assert (numel (results), 2);
    assert (all (cellfun ("isempty", {results.errorIdentifier})), "%s", results(1).errorMessage);
    ## The Slurm job-array script installed beside it, as a shell can run it.
    array_script = fullfile (fileparts (which ("vesk_batch")), "vesk_batch_array.sh");
    [status, printed] = system (sprintf ("bash '%s' 2>&1", array_script));
    assert (status == 2 && ! isempty (strfind (printed, "usage: sbatch --array=1-N")), printed);

    warning ("off", "Octave:gnuplot-graphics");
    graphics_toolkit ("gnuplot");
    files = vesk_demo ("", fullfile (work, "figures"));
    assert (sort (files), {fullfile(work, "figures", "astronaut_contrast.png"), ...
                           fullfile(work, "figures", "camera_contrast.png")});
    for k = 1:numel (files)
      assert (size (imread (files{k}), 3), 3);
    endfor
    ## On screen: one figure per photograph (invisible here).
    close all;
    visible = get (0, "defaultfigurevisible");
    set (0, "defaultfigurevisible", "off");
    unwind_protect
      vesk_demo ();
      assert (numel (findall (0, "type", "figure")), 2);
      close all;
      ## The demos of the functions draw a shipped photograph each.
      demo ("Vesk");
      demo ("Vesk2");
      assert (numel (findall (0, "type", "figure")), 2);
    unwind_protect_cleanup
      close all;
      set (0, "defaultfigurevisible", visible);
    end_unwind_protect

    if (nargin > 1)
      more ();
    endif

    pkg ("unload", "vesk");
    pkg ("uninstall", "-local", "vesk");
    assert (! any (strcmp (package_names (), "vesk")));
  unwind_protect_cleanup
    cd (here);
    if (any (strcmp (package_names (), "vesk")))
      pkg ("unload", "vesk");
    endif
    confirm_recursive_rmdir (false, "local");
    rmdir (prefix, "s");
    rmdir (work, "s");
  end_unwind_protect
endfunction

function names = package_names ()
  names = cellfun (@(p) p.name, pkg ("list"), "UniformOutput", false);
endfunction
