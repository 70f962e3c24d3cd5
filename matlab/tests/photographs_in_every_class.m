## IMAGES = photographs_in_every_class (): the bundled photographs (grey, and
## one transposed at half height) as imread gives them and made into every
## class the functions take. IMAGES is an N x 2 cell array: image, what it is.
function images = photographs_in_every_class ()
  camera = photograph ("camera.png");
  astronaut = rgb2gray (photograph ("astronaut.png"));
  images = cell (0, 2);
  for photo = {camera, astronaut, camera(1:2:end, :)'}
    img = photo{1};
    images(end+1:end+8, :) = {
      img,             "the photograph as read"
      im2uint16(img),  "the photograph"
      im2int16(img),   "the photograph"
      im2single(img),  "the photograph"
      single(img),     "the photograph's grey levels"
      img > 100,       "the thresholded photograph"
      im2double(img),  "the photograph"
      double(img),     "the photograph's grey levels"};
  endfor
endfunction
