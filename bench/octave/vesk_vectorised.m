## [map, dist] = vesk_vectorised (img): what a user would write instead of
## Vesk, for an image of whole grey levels 0..255. Histogram by accumarray,
## the contrast table by one matrix-vector product, the map by indexing.
function [map, dist] = vesk_vectorised (img)
  levels = fix (img(:)) + 1;
  counts = accumarray (levels, 1, [256 1]);
  contrast = abs ((0:255)' - (0:255)) * counts;
  contrast(counts == 0) = 0;
  normaliser = max (contrast);
  if (normaliser == 0)
    normaliser = 0.001;
  endif
  map = reshape (contrast(levels) / normaliser, size (img));
  present = find (counts);
  buckets = fix (contrast(present) / normaliser * 100);
  dist = accumarray (buckets + 1, counts(present), [101 1]);
  [~, least] = min (contrast(present));
  dist(101) = (present(least) - 1) / 255;
endfunction
