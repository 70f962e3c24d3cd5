function varargout = Vesk2(varargin)
%VESK2  Signed global contrast map of a greyscale image of intensities 0..1.
%   SMAP = Vesk2(IMG) quantises the intensities of IMG to 256 grey levels
%   (fix(IMG * 255)) and gives every element the contrast of its level: the
%   sum, over all elements, of the absolute difference between that level
%   and theirs, divided by the largest such sum. The sign says on which side
%   of the least-contrast level (the level closest to the rest of the image)
%   the element lies: positive above it, negative at or below it. SMAP has
%   the size of IMG and holds values -1..1; elements at the least-contrast
%   level hold a negative value or -0. An image of a single level gives -0
%   everywhere.
%
%   [SMAP, LEVEL] = Vesk2(IMG) also returns LEVEL, a 1 x 1 double: the
%   least-contrast level divided by 255, a value 0..1 (when several levels
%   tie, the lowest of them).
%
%   Vesk2(IMG) with no output returns SMAP in ans.
%
%   Input: IMG is one real, full, 2-D matrix of fewer than 2^31 elements,
%   of one of these classes; Vesk2(IMG) is always Vesk2(im2double(IMG)):
%     double, single  intensities 0..1, such as im2double(img) or
%                     double(img) / 255 of an 8-bit image. IMG * 255 is
%                     truncated toward zero; results below 0 count as
%                     level 0 and results from 256 up to 2^31 as level 255;
%                     NaN, Inf, -Inf and values whose product with 255 is
%                     2^31 or more count as level 0.
%     uint8           IMG / 255, such as imread(...) of an 8-bit image
%     uint16          IMG / 65535
%     int16           (IMG + 32768) / 65535
%     logical         false 0, true 1
%   An empty IMG gives an empty SMAP of the same size and a LEVEL of 0.
%
%   Warning Vesk2:greyLevelScale: a double or single IMG whose every value
%   is a whole number, some above 1, holds grey levels (such as
%   double(imread(...)) gives), not intensities: every value from 1 up falls
%   into level 255. Pass Vesk2(IMG / 255), or use Vesk(IMG). The outputs are
%   the same with or without the warning. To silence it:
%     warning('off', 'Vesk2:greyLevelScale')
%
%   Bad input gets an error with one of these identifiers, and a message
%   that says what to pass instead:
%     Vesk2:nargin            not exactly one input
%     Vesk2:nargout           more than two outputs asked for
%     Vesk2:unsupportedClass  any other class: int8, int32, uint32, int64
%                             or uint64 (the message gives the conversion
%                             of the class's range to 0..1, such as
%                             Vesk2((double(IMG) + 128) / 255) for int8, or
%                             Vesk2(double(IMG)) for values that already
%                             are intensities); char, cell, struct or
%                             function handle (pass the image itself);
%                             an object, whatever its class is named (pass
%                             the numeric image, Vesk2(double(OBJ)) where
%                             its class defines double)
%     Vesk2:sparse            a sparse matrix (use full(IMG))
%     Vesk2:complex           a complex matrix (use real(IMG) or abs(IMG))
%     Vesk2:notMatrix         more than two dimensions, such as an RGB image
%                             (use rgb2gray(IMG); any(IMG, 3) for a logical
%                             one; or one channel, IMG(:,:,1))
%     Vesk2:tooLarge          more than 2^31 - 1 elements, or a dimension
%                             of 2^31 or more (tiles of fewer elements
%                             each get their own contrast map, not the
%                             whole image's)
%     Vesk2:outOfMemory       (Octave-native functions) the map or the
%                             scratch does not fit in memory: the message
%                             gives both sizes in MiB (a uint8 or logical
%                             image needs no level array). In MATLAB the
%                             host's own out-of-memory error ends the call
%
%   Known limitations of the host, not of Vesk2:
%     Octave's MEX layer hands an integer literal above 2^53, passed
%     straight into the call (Vesk2(4607182418800017408)), over as
%     the integer's bits read as a double: the MEX file computes with
%     another value. The Octave package's native functions (.oct) are
%     right; or assign the literal to a variable first.
%
%   Where no compiled Vesk2 for this host is found (Octave given the MATLAB
%   release, MATLAB on a platform without a plug-in), calling Vesk2 raises
%   Vesk2:notCompiled with what to install or build.
%
%   Example:
%     [x, y] = meshgrid(linspace(-3, 3, 301));
%     img = uint8(50 + 150 * exp(-x.^2 - y.^2));   % a bright spot on a grey ground
%     [smap, level] = Vesk2(img);
%     imagesc(smap, [-1 1]); axis image; colorbar
%     leastContrastLevel = level * 255
%
%   vesk_demo draws these maps for photographs, such as imread gives them.
%
%   See also VESK, IM2DOUBLE, RGB2GRAY, IMREAD.

% The compiled Vesk2 beside this file takes precedence over it, in MATLAB
% and in Octave; this file gives the help text and, when no compiled Vesk2
% for this host is found, the error that says what to install.
error('Vesk2:notCompiled', '%s', not_compiled_message('Vesk2', fileparts(mfilename('fullpath'))));
end
