## STATUS = run_suite (FILE): runs the test blocks of FILE and returns the
## process exit status for ctest: 0 when every block passed, 1 otherwise.
function status = run_suite (file)
  [passed, total] = test (file, "quiet", stdout);
  printf ("%s: %d of %d test blocks passed\n", file, passed, total);
  status = ! (total > 0 && passed == total);
endfunction
