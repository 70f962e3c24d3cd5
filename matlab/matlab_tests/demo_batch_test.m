function tests = demo_batch_test
%DEMO_BATCH_TEST  vesk_demo and vesk_batch in MATLAB: the PNG figures, and
%   the batch serially and on a local pool of the Parallel Computing
%   Toolbox, equal bit for bit to direct calls.
tests = functiontests(localfunctions);
end

function setupOnce(testCase)
testCase.TestData.release = vesk_release_folder();
testCase.TestData.path = addpath(testCase.TestData.release);
testCase.TestData.data = fullfile(testCase.TestData.release, 'data');
end

function teardownOnce(testCase)
path(testCase.TestData.path);
end

function testDemoWritesItsPngFigures(testCase)
output = testCase.applyFixture(matlab.unittest.fixtures.TemporaryFolderFixture).Folder;
files = vesk_demo('', fullfile(output, 'figures'));
photographs = dir(fullfile(testCase.TestData.data, '*.png'));
verifyNumElements(testCase, files, numel(photographs));
for k = 1:numel(files)
    info = imfinfo(files{k});
    verifyEqual(testCase, info.Format, 'png', files{k});
    verifyGreaterThan(testCase, [info.Width info.Height], [500 500], files{k});
end
end

function testDemoWithoutPhotographs(testCase)
empty = testCase.applyFixture(matlab.unittest.fixtures.TemporaryFolderFixture).Folder;
verifyError(testCase, @() vesk_demo(empty, fullfile(empty, 'figures')), 'vesk_demo:noPhotographs');
end

function testBatchRecordsAnUnreadableFile(testCase)
% One file that is no image among the photographs: recorded, the rest go through.
folder = testCase.applyFixture(matlab.unittest.fixtures.TemporaryFolderFixture).Folder;
copyfile(fullfile(testCase.TestData.data, '*.png'), folder);
fid = fopen(fullfile(folder, 'broken.png'), 'w');
fprintf(fid, 'not an image\n');
fclose(fid);
results = vesk_batch(folder, '*.png', 'Progress', false);
failed = ~cellfun('isempty', {results.errorIdentifier});
verifyEqual(testCase, nnz(failed), 1);
[~, name] = fileparts(results(failed).file);
verifyEqual(testCase, name, 'broken');
verifyEqual(testCase, results(failed).errorIdentifier, 'vesk_batch:unreadable');
end

function testBatchSeriallyEqualsDirectCalls(testCase)
results = vesk_batch(testCase.TestData.data, '*.png', 'ReturnMaps', true, 'Progress', false);
photographs = dir(fullfile(testCase.TestData.data, '*.png'));
names = sort({photographs.name});
verifyNumElements(testCase, results, numel(names));
for k = 1:numel(names)
    [~, file] = fileparts(results(k).file);
    [~, expected] = fileparts(names{k});
    verifyEqual(testCase, file, expected);
    verifyEmpty(testCase, results(k).errorIdentifier, results(k).errorMessage);
    img = readGrey(fullfile(testCase.TestData.data, names{k}));
    [map, dist] = Vesk(img);
    [signedMap, level] = Vesk2(img);
    verifyTrue(testCase, vesk_same_bits(results(k).map, map), [names{k} ': map']);
    verifyTrue(testCase, vesk_same_bits(results(k).distribution, dist), [names{k} ': distribution']);
    verifyTrue(testCase, vesk_same_bits(results(k).signedMap, signedMap), [names{k} ': signed map']);
    verifyTrue(testCase, vesk_same_bits(results(k).level, level), [names{k} ': level']);
end
end

function testBatchOnALocalPoolEqualsSerial(testCase)
if isempty(gcp('nocreate'))
    pool = parpool(2);
    testCase.addTeardown(@() delete(pool));
end
options = {'ReturnMaps', true, 'Progress', false};
serial = vesk_batch(testCase.TestData.data, '*.png', options{:});
lastwarn('', '');
pooled = vesk_batch(testCase.TestData.data, '*.png', 'Workers', 2, options{:});
[~, warned] = lastwarn();
verifyEmpty(testCase, warned, 'the batch fell back to serial');
verifySameMaps(testCase, pooled, serial, '');
for k = 1:numel(pooled)
    verifyEmpty(testCase, pooled(k).errorIdentifier, pooled(k).errorMessage);
end
end

function testBatchResumesAndMergesShards(testCase)
% MATLAB's own ways of the batch's files: the file stamp from dir, the
% rename by movefile, the process id for the temporaries.
folder = testCase.applyFixture(matlab.unittest.fixtures.TemporaryFolderFixture).Folder;
output = fullfile(folder, 'maps');
table = fullfile(folder, 'table.csv');
options = {'ReturnMaps', true, 'Progress', false, 'OutputFolder', output};
fresh = vesk_batch(testCase.TestData.data, '*.png', options{:}, 'CsvFile', table);
resumed = vesk_batch(testCase.TestData.data, '*.png', options{:}, 'Resume', true);
verifySameMaps(testCase, resumed, fresh, 'resumed ');
verifyEqual(testCase, {resumed.outputFiles}, {fresh.outputFiles});
verifyEmpty(testCase, dir(fullfile(output, '*.vesk-partial-*')));
verifyEmpty(testCase, dir(fullfile(output, 'done', '*.vesk-partial-*')));
for k = 1:2
    vesk_batch(testCase.TestData.data, '*.png', options{:}, 'Shard', [k 2], 'CsvFile', table);
end
[merged, missing] = vesk_batch_merge(fullfile(folder, 'table.shard-*-of-2.csv'), ...
                                     'Files', testCase.TestData.data, 'Pattern', '*.png', ...
                                     'CsvFile', fullfile(folder, 'merged.csv'));
verifyEmpty(testCase, missing);
verifyEqual(testCase, {merged.file}, {fresh.file});
verifyEqual(testCase, fileread(fullfile(folder, 'merged.csv')), fileread(table));
for k = 1:numel(fresh)
    verifyTrue(testCase, vesk_same_bits(merged(k).distribution, fresh(k).distribution), ...
               [fresh(k).file ': merged distribution']);
end
end

function verifySameMaps(testCase, actual, expected, what)
% The same files in the same order, maps and results bit for bit.
verifyNumElements(testCase, actual, numel(expected));
for k = 1:numel(expected)
    verifyEqual(testCase, actual(k).file, expected(k).file);
    for field = {'map', 'distribution', 'signedMap', 'level'}
        verifyTrue(testCase, vesk_same_bits(actual(k).(field{1}), expected(k).(field{1})), ...
                   [expected(k).file ': ' what field{1}]);
    end
end
end

function img = readGrey(file)
% As vesk_batch reads a photograph: imread, rgb2gray for colour.
state = warning('off', 'all');   % a colour profile may draw a harmless warning
restore = onCleanup(@() warning(state));
img = imread(file);
if ndims(img) == 3
    img = rgb2gray(img);
end
end
