## copy_help_files (FOLDER): puts into FOLDER what the source tree's matlab/
## folder gives a user (the help files with their private helper,
## vesk_selftest, build_mex) but no compiled plug-in, and takes the build
## folder off the path, so that the help files are what Vesk and Vesk2 find.
function copy_help_files (folder)
  source = fullfile (getenv ("VESK_SOURCE_DIR"), "matlab");
  mkdir (fullfile (folder, "private"));
  copyfile (fullfile (source, "*.m"), folder);
  copyfile (fullfile (source, "private", "*.m"), fullfile (folder, "private"));
  rmpath (getenv ("VESK_FUNCTIONS_DIR"));
endfunction
