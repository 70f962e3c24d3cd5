function [table, counts, normaliser] = reference_contrast_table(levels)
%REFERENCE_CONTRAST_TABLE  Per grey level its count and contrast.
%   [TABLE, COUNTS, NORMALISER] = reference_contrast_table(LEVELS): per grey
%   level 0..255 (rows 1..256) the number of elements at that level and its
%   contrast, the sum of |level - element's level| over all elements (0 for
%   levels that do not occur); and the divisor of every normalised contrast.

counts = accumarray(levels(:) + 1, 1, [256 1]);
grey = (0:255)';
% Whole numbers far below 2^53: exact in any order of summation.
table = abs(bsxfun(@minus, grey, grey')) * counts;
table(counts == 0) = 0;
normaliser = max(table);
if normaliser == 0
    normaliser = 0.001;
end
end
