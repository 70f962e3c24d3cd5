function records = batch_engine(files, stems, settings, requested, progress, chunkRunner)
%BATCH_ENGINE  Runs vesk_batch's images on the engine the host has.
%   RECORDS = batch_engine(FILES, STEMS, SETTINGS, REQUESTED, PROGRESS,
%   CHUNKRUNNER) processes each of FILES (batch_image) and returns their
%   rows, a cell array in the order of FILES. CHUNKRUNNER, a handle to a
%   function of vesk_batch.m (which the workers of Octave's parallel
%   package can find, unlike one of a private file), runs a chunk of files:
%   ROWS = CHUNKRUNNER(FILES, STEMS, SETTINGS). With REQUESTED workers above 1: in MATLAB
%   parfor over the current parallel pool (opened when none is), in Octave
%   parcellfun of the parallel package over chunks of files; otherwise, or
%   without that engine (warning vesk_batch:serial), serially. PROGRESS:
%   whether batch_progress reports.

[engine, workers] = chooseEngine(requested, numel(files));
if progress
    batch_progress('start', numel(files), engine, workers);
end
switch engine
    case 'parcellfun'
        settings.warnings = batch_warnings('text');
        restore = singleThreadedWorkers(); %#ok<NASGU>
        records = runChunks(files, stems, settings, workers, progress, chunkRunner);
    case 'parfor'
        settings.warnings = batch_warnings('text');
        records = runOnPool(files, stems, settings, workers, progress);
    otherwise
        records = cell(size(files));
        for k = 1:numel(files)
            records{k} = batch_image(files{k}, stems{k}, settings);
            if progress
                batch_progress('image', ~isempty(records{k}.errorIdentifier));
            end
        end
end
if progress
    batch_progress('finish');
end
end

function [engine, workers] = chooseEngine(requested, count)
% 'serial', 'parcellfun' or 'parfor', and the number of workers.
engine = 'serial';
workers = 1;
if requested <= 1 || count <= 1
    return;
end
if exist('OCTAVE_VERSION', 'builtin')
    reason = '';
    if exist('parcellfun') == 0  %#ok<EXIST>
        try
            pkg('load', 'parallel');
        catch err
            reason = ['the Octave package parallel is not installed (Debian: apt install ' ...
                      'octave-parallel; otherwise pkg install -forge parallel): ' err.message];
        end
    end
    if isempty(reason)
        % Cores this process may use; OMP_NUM_THREADS, which nproc() honours
        % by default, limits threads, not parcellfun's processes.
        workers = min(requested, nproc('current'));
        if workers < 2
            reason = 'this machine has one processor core';
        end
    end
    if isempty(reason)
        engine = 'parcellfun';
        return;
    end
else
    [workers, reason] = poolWorkers(requested);
    if isempty(reason)
        engine = 'parfor';
        return;
    end
end
workers = 1;
warning('vesk_batch:serial', 'vesk_batch: running serially, with one worker: %s.', reason);
end

function records = runChunks(files, stems, settings, workers, progress, chunkRunner)
% Octave: parcellfun over chunks of files, so that the cost of handing work
% to a worker and back is paid per chunk, not per image; several chunks per
% worker keep the workers busy to the end when images differ in size.
count = numel(files);
chunks = min(count, 4 * workers);
edges = round(linspace(0, count, chunks + 1));
parts = cell(chunks, 1);
for c = 1:chunks
    parts{c} = edges(c) + 1:edges(c + 1);
end
fileChunks = cellfun(@(p) files(p), parts, 'UniformOutput', false);
stemChunks = cellfun(@(p) stems(p), parts, 'UniformOutput', false);
chunkRecords = parcellfun(workers, chunkRunner, fileChunks, stemChunks, ...
                          repmat({settings}, chunks, 1), 'UniformOutput', false, ...
                          'VerboseLevel', double(progress));
records = vertcat(chunkRecords{:});
if progress
    batch_progress('counted', records);
end
end

function restore = singleThreadedWorkers()
% Octave: the worker processes parcellfun starts in this call get
% OMP_NUM_THREADS=1 unless the user set it. Each worker is meant to use one
% core; imread's OpenMP threads (GraphicsMagick) in every worker would make
% two or more threads per core wait on each other, and made a 2-worker
% batch slower than a serial one. Workers started earlier keep theirs.
restore = [];
if isempty(getenv('OMP_NUM_THREADS'))
    setenv('OMP_NUM_THREADS', '1');
    restore = onCleanup(@() unsetenv('OMP_NUM_THREADS'));
end
end

function [workers, reason] = poolWorkers(requested)
% MATLAB: the workers of the current parallel pool, opening one (on the
% default cluster profile) when none is open.
workers = 1;
reason = '';
if exist('gcp', 'file') == 0 || ~license('test', 'Distrib_Computing_Toolbox')
    reason = 'the Parallel Computing Toolbox is not available';
    return;
end
try
    pool = gcp('nocreate');
    if isempty(pool)
        if isinf(requested)
            pool = parpool();
        else
            pool = parpool(requested);
        end
    end
    workers = min(requested, pool.NumWorkers);
catch err
    reason = ['no parallel pool could be opened: ' err.message];
    return;
end
if workers < 2
    reason = 'the parallel pool has one worker';
end
end

function records = runOnPool(files, stems, settings, workers, progress)
% MATLAB: parfor over the current pool (which hands out ranges of
% iterations itself), progress sent back to this client.
records = cell(size(files));
queue = [];
if progress && exist('parallel.pool.DataQueue', 'class') == 8
    queue = parallel.pool.DataQueue;
    afterEach(queue, @(failed) batch_progress('image', failed));
end
parfor (k = 1:numel(files), workers)
    record = batch_image(files{k}, stems{k}, settings);
    if ~isempty(queue)
        send(queue, ~isempty(record.errorIdentifier));
    end
    records{k} = record;
end
end
