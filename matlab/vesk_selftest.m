function ok = vesk_selftest()
%VESK_SELFTEST  Check the compiled Vesk and Vesk2 on this machine, bit for bit.
%   vesk_selftest calls the Vesk and Vesk2 found on the path with the
%   worked examples of their documentation, edge cases (fractions, values
%   outside the range, NaN, Inf, -0, subnormals, empty images) and
%   pseudo-random images of every class they take (double, single, uint8,
%   uint16, int16, logical) in many shapes, and compares every output bit
%   for bit (-0 included) with a reference written in plain M code
%   (private/reference_vesk.m, private/reference_vesk2.m). Element 101 of
%   Vesk's distribution must be the lowest of the grey levels that share
%   the smallest contrast, on every platform. It prints one line per group
%   of checks and a summary, and raises an error with the identifier
%   vesk_selftest:failed when any check failed.
%
%   OK = vesk_selftest does the same but returns true or false instead of
%   raising the error.
%
%   It takes a few seconds, leaves the random number generators alone (its
%   images are the same on every run and host) and silences warnings only
%   while it runs.
%
%   Example:
%     vesk_selftest
%
%   See also VESK, VESK2, BUILD_MEX.

started = tic;
fprintf('vesk_selftest: %s on %s\n', hostName(), computer);
fprintf('  Vesk:  %s\n  Vesk2: %s\n', which('Vesk'), which('Vesk2'));

% Scale warnings the plug-ins may give on the deliberately odd images
% below are no failure; the user's warning settings come back at the end.
warningState = warning('off', 'all');
restoreWarnings = onCleanup(@() warning(warningState));

failure = notCallable();
if isempty(failure)
    [passedGroups, totalGroups, passedChecks, totalChecks] = runGroups(checkGroups());
    fprintf('vesk_selftest: %d of %d groups passed (%d of %d checks) in %.1f s\n', ...
            passedGroups, totalGroups, passedChecks, totalChecks, toc(started));
    if passedGroups < totalGroups
        failure = sprintf('%d of %d groups failed; see the lines marked FAILED above.', ...
                          totalGroups - passedGroups, totalGroups);
    end
else
    fprintf('vesk_selftest: FAILED: %s\n', failure);
end

if nargout > 0
    ok = isempty(failure);
elseif ~isempty(failure)
    error('vesk_selftest:failed', 'vesk_selftest: %s', failure);
end
end

% ---------------------------------------------------------------------------
% Running the checks

function failure = notCallable()
% '' when both plug-ins can be called; otherwise why not, without running
% every group into the same error.
failure = '';
names = {'Vesk', 'Vesk2'};
for k = 1:numel(names)
    try
        feval(names{k}, [0 0 0 2 3]);
    catch err
        if ~isempty(strfind(err.identifier, 'notCompiled')) || isempty(which(names{k}))
            failure = sprintf('%s cannot be called here: %s', names{k}, err.message);
            return;
        end
    end
end
end

function [passedGroups, totalGroups, passedChecks, totalChecks] = runGroups(groups)
% Runs each group's checks and prints one line for it.
totalGroups = size(groups, 1);
passedGroups = 0;
passedChecks = 0;
totalChecks = 0;
for g = 1:totalGroups
    name = groups{g, 1};
    checks = groups{g, 3};
    problems = {};
    for c = 1:numel(checks)
        problem = checkCall(name, checks(c));
        if ~isempty(problem)
            problems{end + 1} = sprintf('%s: %s', checks(c).what, problem); %#ok<AGROW>
        end
    end
    passed = numel(checks) - numel(problems);
    passedChecks = passedChecks + passed;
    totalChecks = totalChecks + numel(checks);
    line = sprintf('%-5s %-16s %3d of %3d passed', name, groups{g, 2}, passed, numel(checks));
    if isempty(problems)
        passedGroups = passedGroups + 1;
        fprintf('  ok      %s\n', line);
    else
        fprintf('  FAILED  %s; first: %s\n', line, problems{1});
    end
end
end

function problem = checkCall(name, check)
% '' when NAME(CHECK.img) gives CHECK.first and CHECK.second, bit for bit;
% otherwise what differs.
try
    [first, second] = feval(name, check.img);
catch err
    problem = sprintf('error %s: %s', err.identifier, err.message);
    return;
end
problem = bitDifference(first, check.first, 'first output');
if isempty(problem)
    problem = bitDifference(second, check.second, 'second output');
end
end

function problem = bitDifference(actual, expected, what)
% '' when ACTUAL is a real double of EXPECTED's size and bits (-0 is not 0).
problem = '';
if ~isa(actual, 'double') || ~isreal(actual)
    problem = sprintf('%s of class %s, expected a real double', what, class(actual));
    return;
end
if ~isequal(size(actual), size(expected))
    problem = sprintf('%s of size %s, expected %s', what, mat2str(size(actual)), ...
                      mat2str(size(expected)));
    return;
end
if isempty(actual)
    return;
end
differ = find(bits(actual) ~= bits(expected));
if ~isempty(differ)
    k = differ(1);
    problem = sprintf('%s: %d elements differ; first, element %d: %.17g, expected %.17g', ...
                      what, numel(differ), k, actual(k), expected(k));
end
end

function b = bits(values)
% The bit patterns of doubles, so that -0 differs from 0.
b = typecast(values(:), 'uint64');
end

% ---------------------------------------------------------------------------
% What is checked

function groups = checkGroups()
% Each row: plug-in, group name, struct array of checks (what, img, first,
% second).
groups = {
    'Vesk',  'worked examples', veskWorkedExamples()
    'Vesk',  'edge cases',      referenceChecks('Vesk', veskEdgeCases())
    'Vesk2', 'worked examples', vesk2WorkedExamples()
    'Vesk2', 'edge cases',      referenceChecks('Vesk2', vesk2EdgeCases())
    };
classes = {'double', 'single', 'uint8', 'uint16', 'int16', 'logical'};
names = {'Vesk', 'Vesk2'};
for n = 1:numel(names)
    for k = 1:numel(classes)
        images = classImages(classes{k}, names{n});
        groups(end + 1, :) = {names{n}, [classes{k} ' images'], ...
                              referenceChecks(names{n}, images)}; %#ok<AGROW>
    end
end
end

function checks = veskWorkedExamples()
% The examples of the documentation, with their outputs written out.
dist = zeros(101, 1);
dist([51 71]) = [3 1];
checks = check('levels 0 0 0 2 3', [0 0 0 2 3], [5 5 5 7 10] / 10, dist);
dist = zeros(101, 1);
dist([58 75 101]) = [1 1 8 / 255];   % 29 / 50 * 100 is 57.99999999999999
checks(end + 1) = check('levels 0 8 29', [0 8 29], [37 29 50] / 50, dist);
dist = zeros(101, 1);
dist([1 101]) = [12 7 / 255];
checks(end + 1) = check('one level', repmat(7, 3, 4), zeros(3, 4), dist);
% Ties for the smallest contrast take the lowest tied level on every platform.
checks(end + 1) = check('levels 0 and 255 tie: the lower', [0; 255], [1; 1], zeros(101, 1));
dist = zeros(101, 1);
dist([56 61 69 83 101]) = [2 2 2 2 4 / 255];
checks(end + 1) = check('levels 0..9 tie at 4 and 5: the lower', 0:9, ...
                        [45 37 31 27 25 25 27 31 37 45] / 45, dist);
end

function checks = vesk2WorkedExamples()
checks = check('levels 0 0 0 2 3', [0 0 0 2 3] / 255, [-5 -5 -5 7 10] / 10, 0);
checks(end + 1) = check('0 and 1 tie: the lower', [0 1], [-1 1], 0);
checks(end + 1) = check('one level: -0', repmat(0.5, 3, 4), -zeros(3, 4), 127 / 255);
end

function c = check(what, img, first, second)
c = struct('what', what, 'img', img, 'first', first, 'second', second);
end

function images = veskEdgeCases()
% Each row: what, image of grey levels.
images = {
    'fractions truncate',         [10.9 10.2 -0.5 3]
    'values outside 0..255',      [256 -1 1e300 NaN Inf -Inf 2^31 2^31-1 2^31-0.5 -2^31-1 255.9 4]
    'subnormal and -0',           [4.9e-324 -0 0 -4.9e-324 1]
    'negative zero',              -zeros(2, 2)
    'one rare bright element',    [0 0 0 0 255]
    'empty',                      zeros(0, 0)
    'no rows',                    zeros(0, 7)
    'no columns',                 zeros(7, 0)
    'every level once',           reshape(0:255, 16, 16)
    'every level, transposed',    reshape(0:255, 16, 16)'
    'a magic square',             magic(4) * 15
    };
end

function images = vesk2EdgeCases()
images = {
    'quantisation and clamping',  [0.999 1.5 -0.2 0.5]
    'values outside 0..1',        [NaN Inf -Inf 1e10 2^31/255 (2^31-1)/255 8e6 8.5e6 1 0.3]
    'subnormal and -0',           [4.9e-324 -0 0 (1 - eps / 2)]
    'negative zero',              -zeros(2, 2)
    'one rare bright element',    [0 0 0 0 1]
    'one rare dark element',      [1 1 1 1 0]
    'below and above',            [0 100 100 100 200] / 255
    'empty',                      zeros(0, 0)
    'no rows',                    zeros(0, 7)
    'no columns',                 zeros(7, 0)
    'every level once',           reshape(0:255, 16, 16) / 255
    };
end

function images = classImages(className, name)
% Pseudo-random images of class CLASSNAME for plug-in NAME, in many shapes
% and three kinds (spread over the class's range, three values only, and a
% bell with rare extremes), and the class's edge values.
shapes = [1 1; 1 5; 7 1; 3 4; 16 16; 31 17; 1 1000; 257 129; 0 0; 0 5; 5 0];
images = cell(0, 2);
for s = 1:size(shapes, 1)
    r = shapes(s, 1);
    c = shapes(s, 2);
    n = r * c;
    spread = noise(n, 3 * s);
    few = floor(noise(n, 3 * s + 1) * 3) / 2;
    bell = (noise(n, 3 * s) + noise(n, 3 * s + 1) + noise(n, 3 * s + 2)) / 3;
    kinds = {'spread', spread; 'three values', few; 'bell', bell};
    for k = 1:size(kinds, 1)
        img = inClass(reshape(kinds{k, 2}, r, c), className, name);
        images(end + 1, :) = {sprintf('%s %d x %d', kinds{k, 1}, r, c), img}; %#ok<AGROW>
    end
end
edges = edgeValues(className, name);
images(end + 1, :) = {'edge values', edges};
images(end + 1, :) = {'edge values among others', [edges, inClass(noise(1000, 40)', className, name)]};
if strcmp(className, 'logical')
    images(end + 1, :) = {'all false', false(3, 4)};
    images(end + 1, :) = {'all true', true(3, 4)};
end
end

function img = inClass(u, className, name)
% Values U in 0..1 as an image of the class, over its whole range (0..256
% grey levels or 0..1 intensities for the floating-point classes).
switch className
    case {'double', 'single'}
        if strcmp(name, 'Vesk')
            u = u * 256;
        end
        img = feval(className, u);
    case 'uint8'
        img = uint8(floor(u * 256));     % saturates at 255
    case 'uint16'
        img = uint16(floor(u * 65536));
    case 'int16'
        img = int16(floor(u * 65536) - 32768);
    case 'logical'
        img = u >= 0.5;
end
end

function values = edgeValues(className, name)
% A row of the class's edge values: its limits, values on each side of every
% rounding step of the reduction to 256 grey levels, NaN, Inf, -0 and
% subnormals.
steps = 257 * (0:254);
isVesk = strcmp(name, 'Vesk');
switch className
    case 'double'
        if isVesk
            values = [0 255 255.99 256 -0 -0.5 NaN Inf -Inf 4.9e-324 2^31 1e300];
        else
            values = [0 1 0.999 1.5 -0.2 -0 NaN Inf -Inf 4.9e-324 1e10 (1 - eps / 2)];
        end
    case 'single'
        if isVesk
            values = single([0 255 (256 - 2^-16) 256 -0 -0.5 NaN Inf -Inf 2^-149 2^-126 1e30]);
        else
            values = single([0 1 (1 - 2^-24) 1.5 -0.2 -0 NaN Inf -Inf 2^-149 2^-126 0.5]);
        end
    case 'uint8'
        values = uint8([0 1 127 128 254 255]);
    case 'uint16'
        values = uint16([0 65535 (steps + 128) (steps + 129)]);
    case 'int16'
        values = int16([-32768 32767 -1 0 1 (steps + 128 - 32768) (steps + 129 - 32768)]);
    case 'logical'
        values = [false true true false];
end
end

function u = noise(n, seed)
% N values in 0..1 (1 excluded) spread like random ones, the same on every
% run and host, leaving the random number generators alone: the fractional
% parts of k * m + c for k = 1..N, in whole numbers below 2^53. Seeds next to
% each other use different multipliers m, so their sequences are unrelated.
multipliers = [2654435769 2246822519 3266489917 668265263 374761393 2870177451 1181783497];
m = multipliers(mod(seed, numel(multipliers)) + 1);
c = mod(seed * 40503, 2^16) * 2^16;
u = mod((1:n)' * m + c, 2^32) / 2^32;
end

% ---------------------------------------------------------------------------
% The reference: the definitions written plainly (private/reference_*.m)

function checks = referenceChecks(name, images)
% The checks of the images (rows: what, image) against the reference.
checks = check('', [], [], []);
checks(:) = [];
for k = 1:size(images, 1)
    img = images{k, 2};
    what = sprintf('%s (%s)', images{k, 1}, class(img));
    if strcmp(name, 'Vesk')
        [map, dist] = reference_vesk(asGreyLevels(img));
        checks(end + 1) = check(what, img, map, dist); %#ok<AGROW>
    else
        [smap, level] = reference_vesk2(asIntensities(img));
        checks(end + 1) = check(what, img, smap, level); %#ok<AGROW>
    end
end
end

function x = asGreyLevels(img)
% The double image whose Vesk result equals Vesk(IMG): other integer classes
% and logical reduced to 256 grey levels as im2uint8 does.
switch class(img)
    case 'uint16'
        x = round(double(img) / 257);
    case 'int16'
        x = round((double(img) + 32768) / 257);
    case 'logical'
        x = 255 * double(img);
    otherwise
        x = double(img);
end
end

function x = asIntensities(img)
% The double image whose Vesk2 result equals Vesk2(IMG), as im2double makes it.
switch class(img)
    case 'uint8'
        x = double(img) / 255;
    case 'uint16'
        x = double(img) / 65535;
    case 'int16'
        x = (double(img) + 32768) / 65535;
    otherwise
        x = double(img);
end
end

function name = hostName()
if exist('OCTAVE_VERSION', 'builtin')
    name = ['GNU Octave ' version];
else
    name = ['MATLAB ' version];
end
end

% Built-in tests in Octave's convention (test vesk_selftest, pkg test vesk).
%!test
%! ## Every group passes with the Vesk and Vesk2 on the path, and says so.
%! printed = evalc ("ok = vesk_selftest ();");
%! assert (ok, printed);
%! assert (! isempty (regexp (printed, 'vesk_selftest: (\d+) of \1 groups passed', "once")), printed);
%! for name = {"Vesk", "Vesk2"}
%!   assert (! isempty (strfind (printed, which (name{1}))), printed);
%! endfor
