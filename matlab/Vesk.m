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
%     DIST(101)    a grey level with the smallest contrast, divided by 255
%                  (when several levels tie, any one of them).
%
%   Vesk(IMG) with no output returns MAP in ans.
%
%   Input: IMG is one real, full, 2-D double matrix of fewer than 2^31
%   elements, each a grey level 0..255, such as double(imread(...)) of an
%   8-bit greyscale image. Values are truncated toward zero; values below 0
%   count as level 0 and values from 256 up to 2^31 as level 255; NaN, Inf,
%   -Inf and values of 2^31 or more count as level 0. An empty IMG gives an
%   empty MAP of the same size and a DIST of zeros.
%
%   Bad input gets an error with one of these identifiers, and a message
%   that says what to pass instead:
%     Vesk:nargin     not exactly one input
%     Vesk:nargout    more than two outputs asked for
%     Vesk:notDouble  not double: uint8 straight from imread, single,
%                     logical, char, integer, cell, struct (use double(IMG))
%     Vesk:sparse     a sparse matrix (use full(IMG))
%     Vesk:complex    a complex matrix (use real(IMG) or abs(IMG))
%     Vesk:notMatrix  more than two dimensions, such as an RGB image (use
%                     rgb2gray(IMG) or one channel, IMG(:,:,1))
%     Vesk:tooLarge   2^31 elements or more, or a dimension of 2^31 or more
%
%   Example:
%     img = double(imread('camera.png'));
%     [map, dist] = Vesk(img);
%     subplot(1, 2, 1); imagesc(map, [0 1]); axis image; colorbar
%     subplot(1, 2, 2); bar(0:99, dist(1:100)); xlabel('contrast (%)')
%     leastContrastLevel = dist(101) * 255
%
%   See also VESK2, DOUBLE, RGB2GRAY, IMREAD.

% Help text only: MATLAB and Octave call the compiled Vesk beside this file.
