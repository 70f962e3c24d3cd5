## with_folder_on_path (FILL, BODY): makes a temporary folder, lets
## FILL (FOLDER) put files into it, then calls BODY (FOLDER) with the folder
## first on the path. Afterwards the path is as it was (whatever FILL and
## BODY did to it) and the folder is gone.
function with_folder_on_path (fill, body)
  folder = tempname ();
  mkdir (folder);
  saved = path ();
  unwind_protect
    fill (folder);
    addpath (folder);
    body (folder);
  unwind_protect_cleanup
    path (saved);
    confirm_recursive_rmdir (false, "local");
    rmdir (folder, "s");
  end_unwind_protect
endfunction
