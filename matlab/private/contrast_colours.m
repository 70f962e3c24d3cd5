function [indices, colours, low, high] = contrast_colours(values, kind)
%CONTRAST_COLOURS  How a contrast map is drawn: its colours and each element's colour.
%   [INDICES, COLOURS, LOW, HIGH] = contrast_colours(VALUES, KIND) for a map
%   VALUES of KIND
%     'vesk'   hot colours spanning the map's own range LOW..HIGH (0..1 when
%              every value is the same): no grey level is close to all
%              others, so the map rarely goes near 0; white marks rare grey
%              levels;
%     'vesk2'  blue (-1) through white (0) to red (1), LOW..HIGH = -1..1.
%   COLOURS is the 256 x 3 colour map, INDICES the 0-based index (uint8) of
%   every element's colour: (VALUES - LOW) / (HIGH - LOW) * 255, rounded and
%   kept within 0..255. vesk_demo draws its panels and vesk_batch writes its
%   PNG images with these.

steps = 256;
if strcmp(kind, 'vesk')
    low = min(values(:));
    high = max(values(:));
    if isempty(low) || low == high
        low = 0;
        high = 1;
    end
    colours = hot(steps);
else
    low = -1;
    high = 1;
    colours = blueWhiteRed(steps);
end
indices = uint8(min(max(round((values - low) / (high - low) * (steps - 1)), 0), steps - 1));
end

function colours = blueWhiteRed(steps)
% Blue through white to red, symmetric about the middle.
t = linspace(-1, 1, steps)';
ends = [0.13 0.40 0.67; 0.70 0.09 0.17];
side = 1 + (t >= 0);
colours = 1 - abs(t) .* (1 - ends(side, :));
end
