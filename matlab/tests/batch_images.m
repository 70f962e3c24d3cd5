## [FOLDER, FILES] = batch_images (COUNT, SIDE): a new temporary folder with
## COUNT different greyscale PNG images of about SIDE x SIDE (some a little
## smaller, so that they differ in size too), named image_001.png, ...; FILES
## their names, sorted. Reproducible.
function [folder, files] = batch_images (count, side)
  folder = tempname ();
  mkdir (folder);
  files = cell (count, 1);
  for k = 1:count
    height = side - mod (k, 3);
    [x, y] = meshgrid (1:side, 1:height);
    img = uint8 (mod (x * k + y .^ 2 * (k + 1) + 37 * k, 256));
    files{k} = fullfile (folder, sprintf ("image_%03d.png", k));
    imwrite (img, files{k});
  endfor
endfunction
