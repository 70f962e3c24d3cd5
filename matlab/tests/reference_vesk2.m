## [SMAP, LEVEL] = reference_vesk2 (IMG): Vesk2's outputs, written plainly
## from their definitions.
function [smap, level] = reference_vesk2 (img)
  levels = reference_level (img * 255);
  [table, counts, normaliser] = reference_contrast_table (levels);

  level = 0;
  occurring = find (counts);
  if (! isempty (occurring))
    [~, first] = min (table(occurring));  # the lowest of tied levels
    level = (occurring(first) - 1) / 255;
  endif

  magnitude = table(levels + 1) / normaliser;
  above = levels > level * 255;
  smap = -magnitude;              # a 0 becomes -0
  smap(above) = magnitude(above);
  smap = reshape (smap, size (img));
endfunction
