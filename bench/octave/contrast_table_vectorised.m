## [contrast, counts, normaliser] = contrast_table_vectorised (levels): the
## part both vectorised scripts share, for levels 1..256 (grey level + 1), one
## per element. Histogram by accumarray, the contrast table by one
## matrix-vector product (0 for levels that do not occur), its divisor.
function [contrast, counts, normaliser] = contrast_table_vectorised (levels)
  counts = accumarray (levels, 1, [256 1]);
  contrast = abs ((0:255)' - (0:255)) * counts;
  contrast(counts == 0) = 0;
  normaliser = max (contrast);
  if (normaliser == 0)
    normaliser = 0.001;
  endif
endfunction
