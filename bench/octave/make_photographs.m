## [FOLDER, FILES] = make_photographs (DATADIR, COUNT, SIDE, FOLDER): COUNT
## different greyscale photographs of SIDE x SIDE, written as PNG to FOLDER
## (made; a temporary one when not given): the bundled ones (in DATADIR)
## enlarged, shifted, mirrored and brightened, so that no two files are
## alike. For the batch benchmarks.
function [folder, files] = make_photographs (dataDir, count, side, folder)
  state = warning ("off", "all");  # astronaut.png's colour profile
  camera = imread (fullfile (dataDir, "camera.png"));
  astronaut = rgb2gray (imread (fullfile (dataDir, "astronaut.png")));
  warning (state);
  if (nargin < 4)
    folder = tempname ();
  endif
  mkdir (folder);
  files = cell (count, 1);
  for k = 1:count
    if (mod (k, 2))
      base = camera;
    else
      base = astronaut;
    endif
    scale = side / rows (base);
    img = kron (base, ones (scale, "uint8"));
    img = circshift (img, [17 * k, 29 * k]);
    if (mod (k, 4) >= 2)
      img = fliplr (img);
    endif
    img = img + uint8 (mod (k, 7));
    files{k} = fullfile (folder, sprintf ("photo_%02d.png", k));
    imwrite (img, files{k});
  endfor
endfunction
