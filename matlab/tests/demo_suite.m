## The main job's figures: vesk_demo draws one PNG per bundled photograph.
## Run with run_suite ("demo_suite.m").

%!test
%! output = tempname ();
%! unwind_protect
%!   warning ("off", "Octave:gnuplot-graphics");
%!   graphics_toolkit ("gnuplot");
%!   files = vesk_demo (getenv ("VESK_DATA_DIR"), output);
%!   assert (sort (files), {fullfile(output, "astronaut_contrast.png"), ...
%!                          fullfile(output, "camera_contrast.png")});
%!   for k = 1:numel (files)
%!     figure_image = imread (files{k});
%!     assert (size (figure_image, 3), 3);
%!     assert (size (figure_image, 1) > 800 && size (figure_image, 2) > 1200);
%!     ## Drawn, not blank: many distinct colours.
%!     assert (rows (unique (reshape (figure_image, [], 3), "rows")) > 200);
%!   endfor
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   if (exist (output, "dir"))
%!     rmdir (output, "s");
%!   endif
%! end_unwind_protect

## A folder without photographs: an error with the demo's identifier that
## names the folder.
%!test
%! empty = tempname ();
%! mkdir (empty);
%! unwind_protect
%!   try
%!     vesk_demo (empty, fullfile (empty, "figures"));
%!     error ("vesk_demo drew an empty folder");
%!   catch err
%!     assert (err.identifier, "vesk_demo:noPhotographs");
%!     assert (! isempty (strfind (err.message, empty)), err.message);
%!   end_try_catch
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (empty, "s");
%! end_unwind_protect
