function tests = plugins_test
%PLUGINS_TEST  The shipped plug-ins in MATLAB itself, as a user has them:
%   the release folder on the path, with the plug-ins it ships (Windows,
%   Linux) or that build_mex made there (macOS). Only what Octave cannot
%   show; docs/matlab-ci.md names the Octave test of everything else.
tests = functiontests(localfunctions);
end

function setupOnce(testCase)
testCase.TestData.release = vesk_release_folder();
testCase.TestData.path = addpath(testCase.TestData.release);
end

function teardownOnce(testCase)
path(testCase.TestData.path);
end

function testCompiledFunctionComesBeforeItsHelpFile(testCase)
release = testCase.TestData.release;
for name = {'Vesk', 'Vesk2'}
    verifyTrue(testCase, exist(fullfile(release, [name{1} '.m']), 'file') == 2);
    verifyEqual(testCase, which(name{1}), fullfile(release, [name{1} '.' mexext]));
    verifyEqual(testCase, exist(name{1}), 3, 'not a MEX file');   %#ok<EXIST>
end
[map, dist] = Vesk([0 0 0 2 3]);
verifyTrue(testCase, vesk_same_bits(map, [5 5 5 7 10] / 10));
verifyEqual(testCase, size(dist), [101 1]);
end

function testHelpShowsTheHelpText(testCase)
for name = {'Vesk', 'Vesk2', 'vesk_selftest', 'vesk_batch', 'vesk_batch_merge', 'vesk_demo', 'build_mex'}
    text = help(name{1});
    verifySubstring(testCase, text, 'See also', name{1});
end
for name = {'Vesk', 'Vesk2'}
    text = help(name{1});
    verifySubstring(testCase, text, [' = ' name{1} '(IMG)']);
    verifySubstring(testCase, text, [name{1} ':notCompiled']);
end
end

function testNotCompiledWhereNoPluginFits(testCase)
% The help files alone first on the path: what MATLAB runs on a platform
% the release has no plug-in for.
release = testCase.TestData.release;
helpOnly = testCase.applyFixture(matlab.unittest.fixtures.TemporaryFolderFixture).Folder;
copyfile(fullfile(release, 'Vesk.m'), helpOnly);
copyfile(fullfile(release, 'Vesk2.m'), helpOnly);
copyfile(fullfile(release, 'private'), fullfile(helpOnly, 'private'));
testCase.applyFixture(matlab.unittest.fixtures.PathFixture(helpOnly));
for name = {'Vesk', 'Vesk2'}
    verifyEqual(testCase, which(name{1}), fullfile(helpOnly, [name{1} '.m']));
    verifyError(testCase, @() feval(name{1}, magic(4)), [name{1} ':notCompiled']);
    message = '';
    try
        feval(name{1}, magic(4));
    catch err
        message = err.message;
    end
    for piece = {[name{1} '.' mexext], 'build_mex', 'mex -setup C++'}
        verifySubstring(testCase, message, piece{1});
    end
    verifySubstring(testCase, help(name{1}), [' = ' name{1} '(IMG)']);
end
% The self-test stops at once, with its own identifier.
verifyError(testCase, @() vesk_selftest, 'vesk_selftest:failed');
end

function testEveryRefusalHasItsIdentifier(testCase)
% The table the Octave suites use (matlab/tests/refused_calls.m), exported
% by tools/ci/export-refused-calls.sh.
cases = refusedCalls();
verifyGreaterThan(testCase, size(cases, 1), 20);
data = fullfile(testCase.TestData.release, 'data');
for name = {'Vesk', 'Vesk2'}
    for k = 1:size(cases, 1)
        [identifier, message] = refusalOf(str2func(name{1}), cases{k, 1}, data);
        verifyEqual(testCase, identifier, [name{1} ':' cases{k, 2}], [name{1} ': ' cases{k, 1}]);
        verifySubstring(testCase, message, cases{k, 3}, [name{1} ': ' cases{k, 1}]);
    end
    % MATLAB goes on as before.
    [map, dist] = feval(name{1}, [0 0 0 2 3]);
    verifyEqual(testCase, [size(map) numel(dist) > 0], [1 5 true]);
end
end

function testScaleWarningsByIdentifier(testCase)
camera = imread(fullfile(testCase.TestData.release, 'data', 'camera.png'));
cases = {
    'Vesk',  double(camera) / 255, 'Vesk:intensityScale',  double(camera)
    'Vesk2', double(camera),       'Vesk2:greyLevelScale', double(camera) / 255
    };
for k = 1:size(cases, 1)
    [name, img, id, rightScale] = cases{k, :};
    F = str2func(name);
    testCase.addTeardown(@warning, warning());
    verifyWarning(testCase, @() F(img), id);
    verifyWarningFree(testCase, @() F(rightScale));
    lastwarn('', '');
    [first, second] = F(img);
    [~, warned] = lastwarn();
    verifyEqual(testCase, warned, id);
    % Silenced by its identifier: no warning, the same bits.
    warning('off', id);
    verifyWarningFree(testCase, @() F(img));
    [quietFirst, quietSecond] = F(img);
    verifyTrue(testCase, vesk_same_bits(quietFirst, first) && vesk_same_bits(quietSecond, second), id);
    % Made an error by it, it ends the call.
    warning('error', id);
    verifyError(testCase, @() F(img), id);
end
end

function cases = refusedCalls()
% Rows: the call (F is the plug-in, photograph(NAME) a shipped photograph),
% the identifier's reason, a piece of the advice.
file = getenv('VESK_REFUSED_CALLS');
if isempty(file) || ~exist(file, 'file')
    error('plugins_test:noTable', ...
          'Set VESK_REFUSED_CALLS to the table tools/ci/export-refused-calls.sh writes; it is ''%s''.', file);
end
lines = regexp(fileread(file), '\r?\n', 'split');
lines = lines(~cellfun('isempty', lines));
cases = cell(numel(lines), 3);
for k = 1:numel(lines)
    cases(k, :) = regexp(lines{k}, '\t', 'split');
end
end

function [identifier, message] = refusalOf(F, call, data)
% The identifier and message of the error CALL raises ('' when none).
photograph = @(name) readQuietly(fullfile(data, name)); %#ok<NASGU> used by CALL
identifier = '';
message = 'no error';
try
    eval(call);
catch err
    identifier = err.identifier;
    message = err.message;
end
end

function img = readQuietly(file)
state = warning('off', 'all');   % a colour profile may draw a harmless warning
restore = onCleanup(@() warning(state));
img = imread(file);
end
