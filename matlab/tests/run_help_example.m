## run_help_example (NAME): runs the example of NAME's help text as written,
## in an empty temporary folder (a user's folder holds no file of the
## project), with invisible figures.
function run_help_example (name)
  example = regexp (get_help_text (name), 'Example:\n(.*?)\n\s*\n', "tokens", "once");
  assert (! isempty (example), "%s: the help text has no example", name);
  folder = tempname ();
  mkdir (folder);
  here = pwd ();
  warning ("off", "Octave:gnuplot-graphics");
  graphics_toolkit ("gnuplot");
  visible = get (0, "defaultfigurevisible");
  set (0, "defaultfigurevisible", "off");
  unwind_protect
    cd (folder);
    evalc (example{1});
  unwind_protect_cleanup
    cd (here);
    close all;
    set (0, "defaultfigurevisible", visible);
    confirm_recursive_rmdir (false, "local");
    rmdir (folder, "s");
  end_unwind_protect
endfunction
