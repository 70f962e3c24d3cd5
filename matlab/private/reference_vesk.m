function [map, dist] = reference_vesk(img)
%REFERENCE_VESK  Vesk's outputs, written plainly from their definitions.
%   [MAP, DIST] = reference_vesk(IMG) for a double image IMG. DIST(101) is
%   the lowest of the grey levels that share the smallest truncated
%   contrast, divided by 255.

levels = reference_level(img);
[table, counts, normaliser] = reference_contrast_table(levels);
map = reshape(table(levels + 1) / normaliser, size(img));

dist = zeros(101, 1);
occurring = find(counts);
if isempty(occurring)
    return;
end
truncated = fix(table(occurring));
% Divide, then scale by 100, then truncate: 29 / 100 * 100 gives bucket 28.
bucket = fix(truncated / normaliser * 100);
dist = accumarray(bucket + 1, counts(occurring), [101 1]);
[~, first] = min(truncated);  % min takes the first, the lowest of tied levels
dist(101) = (occurring(first) - 1) / 255;
end
