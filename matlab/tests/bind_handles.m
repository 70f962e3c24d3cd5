## HANDLES = bind_handles (FOLDER, EXTENSION): handles HANDLES.Vesk and
## HANDLES.Vesk2 bound to the files Vesk<EXTENSION> and Vesk2<EXTENSION> in
## FOLDER, one build's folder (VESK_OCTAVE_DIR or VESK_OCTAVE_NATIVE_DIR).
## Octave binds a function handle to the file it finds at the handle's first
## call and keeps it when the path changes; so each build's handles are made
## and called with only that build's folder on the path, which stays on it.
function handles = bind_handles (folder, extension)
  builds = {getenv("VESK_OCTAVE_DIR"), getenv("VESK_OCTAVE_NATIVE_DIR")};
  for k = 1:numel (builds)
    if (any (strcmp (strsplit (path (), pathsep ()), builds{k})))
      rmpath (builds{k});
    endif
  endfor
  addpath (folder);
  handles = struct ();
  for name = {"Vesk", "Vesk2"}
    f = str2func (name{1});
    f (0);
    handles.(name{1}) = f;
  endfor
  check_bound (handles, folder, extension);
endfunction
