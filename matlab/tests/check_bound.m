## check_bound (HANDLES, FOLDER, EXTENSION): fails unless HANDLES (from
## bind_handles) still call the files in FOLDER.
function check_bound (handles, folder, extension)
  for name = {"Vesk", "Vesk2"}
    assert (functions (handles.(name{1})).file, fullfile (folder, [name{1} extension]));
  endfor
endfunction
