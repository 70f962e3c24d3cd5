## remove_folder (FOLDER): FOLDER and everything in it gone, if it is there.
function remove_folder (folder)
  confirm_recursive_rmdir (false, "local");
  if (exist (folder, "dir"))
    rmdir (folder, "s");
  endif
endfunction
