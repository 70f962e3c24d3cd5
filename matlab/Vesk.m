function varargout = Vesk(varargin)
%VESK  Global contrast map of a greyscale image of grey levels 0..255.
%   MAP = Vesk(IMG) gives every element of IMG the contrast of its grey
%   level: the sum, over all elements of IMG, of the absolute difference
%   between that level and theirs, divided by the largest such sum. MAP has
%   the size of IMG and holds values 0..1: 1 marks the grey levels farthest
%   from the rest of the image (the rare extremes), values near 0 the levels
%   most of the image shares. An image of a single level gives all zeros.
%
%   [MAP, DIST] = Vesk(IMG) also returns DIST, a 101 x 1 contrast
%   distribution:
%     DIST(1:100)  DIST(b+1) counts the elements whose contrast, divided by
%                  the largest, times 100 and truncated, is b. Elements at
%                  the largest contrast are not counted.
%     DIST(101)    the grey level with the smallest contrast, divided by 255
%                  (when several levels tie, the lowest of them, on every
%                  platform; builds before 1.1 on Windows could give
%                  another of the tied levels).
%
%   Vesk(IMG) with no output returns MAP in ans.
%
%   Input: IMG is one real, full, 2-D matrix of fewer than 2^31 elements,
%   of one of these classes:
%     double, single  grey levels 0..255, such as double(imread(...)).
%                     Values are truncated toward zero; values below 0
%                     count as level 0 and values from 256 up to 2^31 as
%                     level 255; NaN, Inf, -Inf and values of 2^31 or more
%                     count as level 0.
%     uint8           the grey level itself, such as imread(...) of an
%                     8-bit image: Vesk(IMG) is Vesk(double(IMG)), faster.
%     uint16, int16   reduced to 256 grey levels as im2uint8 does:
%                     round(IMG / 257) for uint16, round((IMG + 32768) / 257)
%                     for int16; Vesk(IMG) is Vesk(double(im2uint8(IMG))).
%     logical         false is level 0, true level 255.
%   An empty IMG gives an empty MAP of the same size and a DIST of zeros.
%
%   Warning Vesk:intensityScale: a double or single IMG whose every value
%   lies in 0..1, with some strictly between, holds intensities (such as
%   im2double(...) gives), not grey levels: it all falls into levels 0 and
%   1. Use Vesk2(IMG) for intensities, or Vesk(255 * IMG). The outputs are
%   the same with or without the warning. To silence it:
%     warning('off', 'Vesk:intensityScale')
%
%   Bad input gets an error with one of these identifiers, and a message
%   that says what to pass instead:
%     Vesk:nargin            not exactly one input
%     Vesk:nargout           more than two outputs asked for
%     Vesk:unsupportedClass  any other class: int8, int32, uint32, int64
%                            or uint64 (the message gives the conversion of
%                            the class's range to 0..255, such as
%                            Vesk(double(IMG) + 128) for int8, or
%                            Vesk(double(IMG)) for values that already are
%                            grey levels); char, cell, struct or function
%                            handle (pass the image itself); an object,
%                            whatever its class is named (pass the
%                            numeric image, such as Vesk(double(OBJ))
%                            where its class defines double)
%     Vesk:sparse            a sparse matrix (use full(IMG))
%     Vesk:complex           a complex matrix (use real(IMG) or abs(IMG))
%     Vesk:notMatrix         more than two dimensions, such as an RGB image
%                            (use rgb2gray(IMG); any(IMG, 3) for a logical
%                            one; or one channel, IMG(:,:,1))
%     Vesk:tooLarge          more than 2^31 - 1 elements, or a dimension
%                            of 2^31 or more (tiles of fewer elements
%                            each get their own contrast map, not the
%                            whole image's)
%     Vesk:outOfMemory       (Octave-native functions) the map or the
%                            scratch does not fit in memory: the message
%                            gives both sizes in MiB (a uint8 or logical
%                            image needs no level array). In MATLAB the
%                            host's own out-of-memory error ends the call
%
%   Known limitations of the host, not of Vesk:
%     Octave's MEX layer hands an integer literal above 2^53, passed
%     straight into the call (Vesk(4607182418800017408)), over as
%     the integer's bits read as a double: the MEX file computes with
%     another value. The Octave package's native functions (.oct) are
%     right; or assign the literal to a variable first.
%
%   Where no compiled Vesk for this host is found (Octave given the MATLAB
%   release, MATLAB on a platform without a plug-in), calling Vesk raises
%   Vesk:notCompiled with what to install or build.
%
%   Example:
%     [x, y] = meshgrid(linspace(-3, 3, 301));
%     img = uint8(255 * exp(-x.^2 - y.^2));   % a bright spot on a dark ground
%     [map, dist] = Vesk(img);
%     subplot(1, 2, 1); imagesc(map, [0 1]); axis image; colorbar
%     subplot(1, 2, 2); bar(0:99, dist(1:100)); xlabel('contrast (%)')
%     leastContrastLevel = dist(101) * 255
%
%   vesk_demo draws these maps for photographs, such as imread gives them.
%
%   See also VESK2, IM2UINT8, RGB2GRAY, IMREAD.

% The compiled Vesk beside this file takes precedence over it, in MATLAB
% and in Octave; this file gives the help text and, when no compiled Vesk
% for this host is found, the error that says what to install.
error('Vesk:notCompiled', '%s', not_compiled_message('Vesk', fileparts(mfilename('fullpath'))));
end
