## [map, dist] = vesk_vectorised (img): what a user would write instead of
## Vesk, for an image of whole grey levels 0..255: the contrast table of
## contrast_table_vectorised, the map by indexing.
function [map, dist] = vesk_vectorised (img)
  levels = fix (img(:)) + 1;
  [contrast, counts, normaliser] = contrast_table_vectorised (levels);
  map = reshape (contrast(levels) / normaliser, size (img));
  present = find (counts);
  buckets = fix (contrast(present) / normaliser * 100);
  dist = accumarray (buckets + 1, counts(present), [101 1]);
  [~, least] = min (contrast(present));
  dist(101) = (present(least) - 1) / 255;
endfunction
