## HANDLES = functions_in (FOLDER, NAMES): a struct of handles, one per name,
## to the functions of those names in FOLDER, whatever else is on the path
## later. Octave binds a handle to the file it finds at the handle's first
## call and keeps it, so each is made and called (on 0) with FOLDER first on
## the path. FOLDER is off the path again afterwards.
function handles = functions_in (folder, names)
  folder = make_absolute_filename (folder);
  addpath (folder);
  unwind_protect
    handles = struct ();
    for k = 1:numel (names)
      f = str2func (names{k});
      f (0);
      if (! strcmp (functions (f).file, fullfile (folder, [names{k} ".oct"]))
          && ! strcmp (functions (f).file, fullfile (folder, [names{k} ".mex"])))
        error ("functions_in: %s is %s, not the one in %s", names{k}, functions (f).file, folder);
      endif
      handles.(names{k}) = f;
    endfor
  unwind_protect_cleanup
    rmpath (folder);
  end_unwind_protect
endfunction
