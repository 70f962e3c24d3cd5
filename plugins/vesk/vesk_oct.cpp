// Vesk's Octave-native entry point: the function of Vesk.mex without
// Octave's MEX layer. Its help is Vesk.m's, compiled in (vesk_help.h is
// generated from it): Octave reads the .m file beside a .mex file for help,
// but not beside a .oct file.
#include "octave_gateway.h"
#include "vesk_function.h"
#include "vesk_help.h"

DEFUN_DLD(Vesk, args, nargout, kVeskHelp)
{
    return vesk::runOctaveGateway(vesk::kVeskFunction, args, nargout);
}

/*
Built-in tests and demos in Octave's convention, run by `test Vesk`, `demo Vesk`
and `pkg test vesk`: the package's Makefile appends the lines starting %! to
the help file it installs beside Vesk.oct (test and demo look for Vesk.m
before Vesk.cc-tst).

## The worked example: contrasts 5, 7 and 10 at levels 0, 2 and 3.
%!test
%! [map, dist] = Vesk ([0 0 0 2 3]);
%! assert (map, [0.5 0.5 0.5 0.7 1]);
%! assert (dist, accumarray ([51; 71], [3; 1], [101 1]));

## Known outputs: each row an image, its map and the nonzero elements of its
## distribution as [index value] rows (the distribution's index is the bucket
## plus 1; element 101 is the least-contrast level / 255).
%!test
%! cases = {
%!   [0 8 29],             [37/50 29/50 1],    [58 1; 75 1; 101 8/255]
%!   77 * ones(2, 3),      zeros(2, 3),        [1 6; 101 77/255]
%!   [10.9 10.2 -0.5],     [0.5 0.5 1],        [51 2; 101 10/255]
%!   [0 0 200],            [0.5 0.5 1],        [51 2]
%!   [10; 20; 30; 40],     [1; 2/3; 2/3; 1],   [67 2; 101 20/255]
%!   [0 100; 155 255],     [1 31/51; 31/51 1], [61 2; 101 100/255]
%!   [256 -1 NaN Inf 255 0 2^31], [1 2/5 2/5 2/5 1 2/5 2/5], [41 5]
%! };
%! for k = 1:rows (cases)
%!   [map, dist] = Vesk (cases{k, 1});
%!   assert (map, cases{k, 2});
%!   expected = zeros (101, 1);
%!   expected(cases{k, 3}(:, 1)) = cases{k, 3}(:, 2);
%!   assert (dist, expected);
%! endfor

## Empty images keep their shape; one output, or none, gives the map.
%!assert (Vesk (zeros (0, 4)), zeros (0, 4))
%!assert (nthargout (2, @Vesk, zeros (3, 0)), zeros (101, 1))
%!test
%! Vesk ([0 0 0 2 3]);
%! assert (ans, [0.5 0.5 0.5 0.7 1]);

## Every class it takes gives the call on the grey levels the class stands
## for: single as is, uint8 the level itself, uint16 and int16 as im2uint8
## reduces them, logical false 0 and true 255.
%!test
%! levels = [0 0 0 2 3; 255 7 7 0 0];
%! [map, dist] = Vesk (levels);
%! for img = {single(levels), uint8(levels), uint16(257 * levels), ...
%!            uint16(257 * levels + 128), int16(257 * levels - 32768)}
%!   [m, d] = Vesk (img{1});
%!   assert ({class(m), class(d)}, {"double", "double"});
%!   assert ({m, d}, {map, dist});
%! endfor
%! [m, d] = Vesk (logical (levels));
%! assert ({m, d}, nthargout (1:2, @Vesk, 255 * (levels > 0)));

## Intensities 0..1 are no grey levels: they all fall into levels 0 and 1.
## The warning changes nothing; silenced or made an error by its identifier.
%!warning id=Vesk:intensityScale Vesk ([0 0.5 1]);
%!warning id=Vesk:intensityScale Vesk (single ([0.25 1]));
%!test
%! img = [0 0.25 0.5; 1 0.75 0];
%! warning ("off", "Vesk:intensityScale", "local");
%! lastwarn ("");
%! [map, dist] = Vesk (img);
%! assert (lastwarn (), "");
%! assert ({map, dist}, nthargout (1:2, @Vesk, fix (img)));
%!error id=Vesk:intensityScale
%! warning ("error", "Vesk:intensityScale", "local");
%! Vesk ([0 0.5 1]);

## Every refusal, by its identifier (the advice is the rejection suites').
%!error id=Vesk:nargin Vesk ()
%!error id=Vesk:nargin Vesk (1, 2)
%!error id=Vesk:nargout [a, b, c] = Vesk (1)
%!error id=Vesk:unsupportedClass Vesk (int8 ([1 2]))
%!error id=Vesk:unsupportedClass Vesk (uint64 (7))
%!error id=Vesk:unsupportedClass Vesk ("grey")
%!error id=Vesk:unsupportedClass Vesk ({1})
%!error id=Vesk:unsupportedClass Vesk (containers.Map ())
%!error id=Vesk:sparse Vesk (sparse (eye (2)))
%!error id=Vesk:complex Vesk ([1 2i])
%!error id=Vesk:notMatrix Vesk (zeros (4, 4, 3, "uint8"))
%!error id=Vesk:tooLarge Vesk (zeros (0, 2^31))

%!demo
%! ## The contrast map and distribution of the camera photograph shipped
%! ## with the package: white marks its rarest grey levels.
%! img = imread (fullfile (fileparts (which ("vesk_demo")), "data", "camera.png"));
%! [map, dist] = Vesk (img);
%! figure ("name", "Vesk: camera.png");
%! subplot (1, 2, 1);
%! imagesc (map, [0 1]); axis image off; colormap (hot (256)); colorbar;
%! title ("contrast of each element's grey level");
%! subplot (1, 2, 2);
%! bar (0:99, dist(1:100)); xlabel ("contrast (% of the largest)"); ylabel ("elements");
%! title (sprintf ("least-contrast level %d", round (dist(101) * 255)));
*/
