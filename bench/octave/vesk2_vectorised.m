## [smap, level] = vesk2_vectorised (img): what a user would write instead of
## Vesk2, for intensities 0..1.
function [smap, level] = vesk2_vectorised (img)
  levels = min (max (fix (img(:) * 255), 0), 255) + 1;
  counts = accumarray (levels, 1, [256 1]);
  contrast = abs ((0:255)' - (0:255)) * counts;
  contrast(counts == 0) = 0;
  normaliser = max (contrast);
  if (normaliser == 0)
    normaliser = 0.001;
  endif
  present = find (counts);
  [~, least] = min (contrast(present));
  least = present(least);
  level = (least - 1) / 255;
  signs = ones (256, 1);
  signs(1:least) = -1;
  smap = reshape (signs(levels) .* contrast(levels) / normaliser, size (img));
endfunction
