## IMAGES = random_images (SCALE): a cell array of images of many shapes and
## kinds, with values 0..SCALE (255 for Vesk, 1 for Vesk2). Reproducible.
function images = random_images (scale)
  rand ("state", 7);
  randn ("state", 7);
  shapes = [1 1; 1 2; 2 1; 1 5; 7 1; 3 4; 4 3; 16 16; 31 17; 1 1000; 1000 1; ...
            257 129; 0 0; 0 5; 5 0];
  images = {};
  for s = 1:rows (shapes)
    r = shapes(s, 1);
    c = shapes(s, 2);
    whole = floor (rand (r, c) * 256) * scale / 255;      # whole grey levels
    fractional = rand (r, c) * 256 * scale / 255;         # anywhere in a level
    few = floor (rand (r, c) * 3) * 100 * scale / 255;    # three levels only
    ## A bell around mid-grey: rare levels at both ends.
    bell = min (max (round (randn (r, c) * 30 + 128), 0), 255) * scale / 255;
    images(end+1:end+4) = {whole, fractional, few, bell};
  endfor
endfunction
