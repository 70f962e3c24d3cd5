## IMG = photograph (NAME): one of the bundled photographs as an Octave user
## reads it, straight from imread (uint8, RGB for the colour one).
function img = photograph (name)
  ## astronaut.png's colour profile draws a harmless GraphicsMagick warning.
  state = warning ("off", "all");
  unwind_protect
    img = imread (fullfile (getenv ("VESK_DATA_DIR"), name));
  unwind_protect_cleanup
    warning (state);
  end_unwind_protect
endfunction
