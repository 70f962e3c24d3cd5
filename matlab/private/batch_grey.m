function grey = batch_grey(img, colours, hostRgb2gray)
%BATCH_GREY  An image as vesk_batch hands it to the plug-ins.
%   GREY = batch_grey(IMG, COLOURS, HOSTRGB2GRAY): indexed images (COLOURS,
%   imread's colour map, not empty) and colour images (third dimension 3)
%   converted to grey in their own class; everything else as it is.
%   HOSTRGB2GRAY: whether the host has rgb2gray (otherwise GNU Octave's
%   formula is used). Errors vesk_batch:notGrey where no grey image can be
%   made.

if ~isempty(colours)
    grey = indexedToGrey(img, colours, hostRgb2gray);
elseif ndims(img) == 3 && size(img, 3) == 3
    if hostRgb2gray
        grey = rgb2gray(img);
    else
        grey = reshape(luminance(reshape(img, [], 3)), size(img, 1), size(img, 2));
    end
else
    grey = img;
end
end

function grey = indexedToGrey(indices, colours, hostRgb2gray)
% The grey of each pixel's colour, in the class of the indices: uint8
% indices give levels 0..255, uint16 ones 0..65535 (rounded), others
% 0..1. A grey colour map, such as imread gives with a PGM file, gives the
% indices back. (Octave's ind2gray returns single for a uint8 image that
% uses index 255, which Vesk would take for levels 0..1.)
if hostRgb2gray
    levels = rgb2gray(colours);  % MATLAB returns a grey colour map
    levels = double(levels(:, 1));
else
    levels = luminance(colours);
end
kind = class(indices);
switch kind
    case {'uint8', 'uint16'}
        positions = double(indices) + 1;
        levels = cast(levels * double(intmax(kind)), kind);
    case {'double', 'single'}
        if ~all(indices(:) == fix(indices(:)) & indices(:) >= 1)
            error('vesk_batch:notGrey', 'indexed image with indices that are not whole numbers from 1');
        end
        positions = double(indices);
        levels = cast(levels, kind);
    otherwise
        error('vesk_batch:notGrey', 'indexed image of class %s', kind);
end
positions = min(positions, numel(levels));  % beyond the map: its last colour
grey = reshape(levels(positions), size(indices));
end

function grey = luminance(rgb)
% rgb2gray of an n x 3 list of colours for hosts without one, as GNU Octave
% computes it: the weights applied to values scaled to 0..1, integer
% classes scaled back and rounded, so that the class is kept.
weights = [0.298936; 0.587043; 0.114021];
kind = class(rgb);
switch kind
    case {'double', 'single'}
        grey = rgb * weights;
    case {'uint8', 'uint16', 'int8', 'int16'}
        low = double(intmin(kind));
        high = double(intmax(kind));
        if low < 0
            grey = ((double(rgb) - low) / (high - low)) * weights;
        else
            grey = (double(rgb) / high) * weights;
        end
        grey = grey * (high - low);
        if low < 0
            grey = grey + low;
        end
        grey = cast(grey, kind);
    otherwise
        error('vesk_batch:notGrey', 'a colour image of class %s cannot be converted to grey', kind);
end
end
