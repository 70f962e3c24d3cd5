function [smap, level] = reference_vesk2(img)
%REFERENCE_VESK2  Vesk2's outputs, written plainly from their definitions.
%   [SMAP, LEVEL] = reference_vesk2(IMG) for a double image IMG of
%   intensities. LEVEL is the lowest of the levels that share the smallest
%   contrast, divided by 255.

levels = reference_level(img * 255);
[table, counts, normaliser] = reference_contrast_table(levels);

level = 0;
occurring = find(counts);
if ~isempty(occurring)
    [~, first] = min(table(occurring));  % the lowest of tied levels
    level = (occurring(first) - 1) / 255;
end

magnitude = table(levels + 1) / normaliser;
above = levels > level * 255;
smap = -magnitude;              % a 0 becomes -0
smap(above) = magnitude(above);
smap = reshape(smap, size(img));
end
