## [MAP, DIST, CANDIDATES] = reference_vesk (IMG): Vesk's outputs, written
## plainly from their definitions. DIST(101) holds CANDIDATES(1); Vesk may
## put any of CANDIDATES there (the grey levels, divided by 255, that share
## the smallest truncated contrast).
function [map, dist, candidates] = reference_vesk (img)
  levels = reference_level (img);
  [table, counts, normaliser] = reference_contrast_table (levels);
  map = reshape (table(levels + 1) / normaliser, size (img));

  dist = zeros (101, 1);
  candidates = [];
  occurring = find (counts);
  if (isempty (occurring))
    return;
  endif
  truncated = fix (table(occurring));
  ## Divide, then scale by 100, then truncate: 29 / 100 * 100 gives bucket 28.
  bucket = fix (truncated / normaliser * 100);
  dist = accumarray (bucket + 1, counts(occurring), [101, 1]);
  candidates = (occurring(truncated == min (truncated)) - 1) / 255;
  dist(101) = candidates(1);
endfunction
