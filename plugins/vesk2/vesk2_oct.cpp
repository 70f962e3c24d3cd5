// Vesk2's Octave-native entry point: the function of Vesk2.mex without
// Octave's MEX layer. Its help is Vesk2.m's, compiled in (vesk2_help.h is
// generated from it): Octave reads the .m file beside a .mex file for help,
// but not beside a .oct file.
#include "octave_gateway.h"
#include "vesk2_function.h"
#include "vesk2_help.h"

DEFUN_DLD(Vesk2, args, nargout, kVesk2Help)
{
    return vesk::runOctaveGateway(vesk::kVesk2Function, args, nargout);
}

/*
Built-in tests and demos in Octave's convention, run by `test Vesk2`,
`demo Vesk2` and `pkg test vesk`: the package's Makefile appends the lines
starting %! to the help file it installs beside Vesk2.oct (test and demo
look for Vesk2.m before Vesk2.cc-tst).

## The worked example: levels 0, 2 and 3, least-contrast level 0.
%!test
%! [smap, level] = Vesk2 ([0 0 0 2 3] / 255);
%! assert (smap, [-0.5 -0.5 -0.5 0.7 1]);
%! assert (level, 0);

## Known outputs: each row an image of intensities, its signed map and its
## least-contrast level.
%!test
%! cases = {
%!   [0 1],                [-1 1],                             0
%!   [0; 0.5; 0.5; 1],     [-509; -255; -255; 511] / 511,      127/255
%!   reshape([0.999 1.5 -0.2 NaN Inf -Inf 1e10 256/255], 2, 4), ...
%!     reshape([1272 1276 -764 -764 -764 -764 -764 1276] / 1276, 2, 4), 0
%!   zeros(0, 3),          zeros(0, 3),                        0
%! };
%! for k = 1:rows (cases)
%!   [smap, level] = Vesk2 (cases{k, 1});
%!   assert ({smap, level}, cases(k, 2:3));
%! endfor

## A uniform image is -0 everywhere: at or below the least-contrast level.
%!test
%! [smap, level] = Vesk2 (0.5 * ones (2, 3));
%! assert (smap, zeros (2, 3));
%! assert (signbit (smap), true (2, 3));
%! assert (level, 127/255);

## Every class it takes gives the call on im2double of the image.
%!test
%! levels = [0 0 0 2 3; 255 7 7 0 0];
%! u16 = uint16 (257 * levels + [0 1 2 3 4; 128 5 6 7 8]);
%! i16 = int16 (double (u16) - 32768);
%! for c = {uint8(levels), levels / 255; u16, double(u16) / 65535; ...
%!          i16, (double(i16) + 32768) / 65535; single([0 0.5; 0.75 1]), [0 0.5; 0.75 1]; ...
%!          logical(levels), double(levels > 0)}'
%!   [smap, level] = Vesk2 (c{1});
%!   assert ({class(smap), class(level)}, {"double", "double"});
%!   assert ({smap, level}, nthargout (1:2, @Vesk2, c{2}));
%! endfor

## Grey levels are no intensities: every value from 1 up falls into level
## 255. The warning changes nothing; silenced or made an error by its identifier.
%!warning id=Vesk2:greyLevelScale Vesk2 ([0 2 255]);
%!warning id=Vesk2:greyLevelScale Vesk2 (single ([0; 128]));
%!test
%! img = [0 2 255; 1 0 30];
%! warning ("off", "Vesk2:greyLevelScale", "local");
%! lastwarn ("");
%! [smap, level] = Vesk2 (img);
%! assert (lastwarn (), "");
%! assert ({smap, level}, nthargout (1:2, @Vesk2, min (img, 1)));
%!error id=Vesk2:greyLevelScale
%! warning ("error", "Vesk2:greyLevelScale", "local");
%! Vesk2 ([0 2 255]);

## Every refusal, by its identifier (the advice is the rejection suites').
%!error id=Vesk2:nargin Vesk2 ()
%!error id=Vesk2:nargin Vesk2 (0.5, 0.5)
%!error id=Vesk2:nargout [s, l, x] = Vesk2 (0.5)
%!error id=Vesk2:unsupportedClass Vesk2 (int32 ([0 1]))
%!error id=Vesk2:unsupportedClass Vesk2 (uint32 (1))
%!error id=Vesk2:unsupportedClass Vesk2 (struct ("img", 1))
%!error id=Vesk2:unsupportedClass Vesk2 (@sin)
%!error id=Vesk2:unsupportedClass Vesk2 (containers.Map ())
%!error id=Vesk2:sparse Vesk2 (sparse ([0 1]))
%!error id=Vesk2:complex Vesk2 (single (0.5i))
%!error id=Vesk2:notMatrix Vesk2 (zeros (2, 2, 1, 2))
%!error id=Vesk2:tooLarge Vesk2 (zeros (2^31, 0))

%!demo
%! ## The signed contrast map of the astronaut photograph shipped with the
%! ## package: red brighter than the least-contrast level, blue darker.
%! img = imread (fullfile (fileparts (which ("vesk_demo")), "data", "astronaut.png"));
%! if (ndims (img) == 3)
%!   img = rgb2gray (img);
%! endif
%! [smap, level] = Vesk2 (img);
%! figure ("name", "Vesk2: astronaut.png");
%! imagesc (smap, [-1 1]); axis image off;
%! colormap ([linspace(0, 1, 128)' linspace(0, 1, 128)' ones(128, 1);
%!            ones(128, 1) linspace(1, 0, 128)' linspace(1, 0, 128)']);
%! colorbar;
%! title (sprintf ("Vesk2: signed contrast about grey level %d", round (level * 255)));
*/
