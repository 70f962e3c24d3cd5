function results = vesk_batch(varargin)
%VESK_BATCH  Vesk and Vesk2 over many image files, serially or in parallel.
%   RESULTS = vesk_batch(FILES) reads every file of the cell array FILES
%   with imread, converts colour images to grey, calls Vesk and Vesk2 on
%   each and returns one row of RESULTS per file, in the order of FILES.
%
%   RESULTS = vesk_batch(FOLDER, PATTERN) does the same for the files of
%   FOLDER that match PATTERN ('*.png', or a cell array such as
%   {'*.png', '*.tif'}), sorted by name. vesk_batch(FOLDER) takes every file
%   of FOLDER whose extension imread knows (imformats).
%
%   RESULTS = vesk_batch(..., NAME, VALUE, ...) sets options:
%     'Functions'     'Vesk', 'Vesk2' or {'Vesk', 'Vesk2'} (default): the
%                     plug-ins to call.
%     'Workers'       number of images processed at once (default 1). Above
%                     1 the host's own engine runs them: in MATLAB parfor
%                     over the current parallel pool, local or a cluster's
%                     (one is opened with parpool when none is); in
%                     Octave parcellfun of the parallel package (loaded
%                     with pkg load parallel), at most one process per
%                     processor core, each started with OMP_NUM_THREADS=1
%                     unless it is set. Inf: as many as the pool or the
%                     cores allow. Without that engine the batch runs
%                     serially and warns once (Vesk:batch:serial).
%                     The results do not depend on the number of workers.
%     'OutputFolder'  a folder (made when missing) to write each image's
%                     maps to, so that memory stays flat over any number of
%                     images (default: none). Per image, with NAME its file
%                     name without folder and extension:
%                       NAME.mat        variables file, map, distribution
%                                       (Vesk), signedMap, level (Vesk2);
%                                       MAT 7, compressed
%                       NAME_vesk.png   the Vesk map, hot colours spanning
%                                       the map's own range (white: rare
%                                       grey levels)
%                       NAME_vesk2.png  the Vesk2 map, blue -1 .. white 0
%                                       .. red 1
%                     Files of the batch that share a NAME get _K appended,
%                     K their position in the list. Failed images write
%                     nothing.
%     'ReturnMaps'    true: RESULTS also holds the maps (default false).
%     'CsvFile'       a file to write RESULTS to as a table, one line per
%                     image (default: none). Columns: file, class, rows,
%                     columns, channels, level, distribution_1 ..
%                     distribution_101, errorIdentifier, errorMessage;
%                     numbers with 17 significant digits, so that they read
%                     back to the same bits.
%     'Progress'      true (default): a line when the batch starts, one
%                     every 5 seconds with images done, total and rate, and
%                     a summary at the end. With parcellfun, its own
%                     counter on stderr replaces the 5-second lines.
%     'Reader'        a function IMG = READER(FILE) to read files that
%                     imread does not (for example @dicomread). Default:
%                     imread, whose colour map, if any, is used.
%
%   RESULTS is an N x 1 struct array with the fields
%     file             the file name, as given or as found in FOLDER
%     distribution     Vesk's 101 x 1 contrast distribution ([] without it)
%     level            Vesk2's least-contrast level ([] without it)
%     size, class      size and class of the image as read
%     errorIdentifier  '' when the image went through; otherwise the
%     errorMessage     identifier and message of what stopped it
%     map, signedMap   the maps (only with 'ReturnMaps', true)
%     outputFiles      the files written (only with 'OutputFolder')
%   A failed image has empty results; the others are not affected.
%   Failures: Vesk:batch:unreadable (the file could not be read),
%   Vesk:batch:notGrey (no grey image could be made of it),
%   Vesk:batch:writeFailed (its maps could not be written), or the
%   plug-in's own refusal, such as Vesk:unsupportedClass.
%
%   Each image goes to the plug-ins in the class it was read in (uint8,
%   uint16, int16, single, double, logical). Colour images (third
%   dimension 3) are converted with rgb2gray, which keeps the class.
%   Indexed images (imread gives a colour map) become the grey of each
%   pixel's colour (rgb2gray of the map) in the class of the indices:
%   uint8 indices give levels 0..255 and uint16 ones 0..65535, rounded; a
%   grey map, as imread gives for PGM files, gives the indices back. A host
%   without rgb2gray gets GNU Octave's formula from vesk_batch itself.
%
%   Example:
%     folder = tempname; mkdir(folder);
%     imwrite(uint8(mod(magic(64), 256)), fullfile(folder, 'a.png'));
%     imwrite(uint8(255 * rand(48, 32)), fullfile(folder, 'b.png'));
%     results = vesk_batch(folder, '*.png', 'OutputFolder', fullfile(folder, 'maps'));
%     levels = [results.level]
%     failed = {results(~cellfun('isempty', {results.errorIdentifier})).file}
%
%   See also VESK, VESK2, IMREAD, RGB2GRAY, PARFOR, PARPOOL.

[files, options] = parseInput(varargin);
settings = batchSettings(options);
stems = outputStems(files);
if ~isempty(settings.outputFolder) && ~exist(settings.outputFolder, 'dir')
    [made, message] = mkdir(settings.outputFolder);
    if ~made
        error('Vesk:batch:outputFolder', 'vesk_batch: cannot make the output folder %s: %s', ...
              settings.outputFolder, message);
    end
end

[engine, workers] = chooseEngine(options.workers, numel(files));
if options.progress
    reportProgress('start', numel(files), engine, workers);
end
switch engine
    case 'parcellfun'
        settings.warnings = warningsAsText();
        restore = singleThreadedWorkers(); %#ok<NASGU>
        records = parcellfun(workers, @processImage, files, stems, ...
                             repmat({settings}, size(files)), 'UniformOutput', false, ...
                             'VerboseLevel', double(options.progress));
        if options.progress
            reportProgress('counted', records);
        end
    case 'parfor'
        settings.warnings = warningsAsText();
        records = runOnPool(files, stems, settings, workers, options.progress);
    otherwise
        records = cell(size(files));
        for k = 1:numel(files)
            records{k} = processImage(files{k}, stems{k}, settings);
            if options.progress
                reportProgress('image', ~isempty(records{k}.errorIdentifier));
            end
        end
end
if options.progress
    reportProgress('finish');
end

if isempty(records)
    results = repmat(emptyRecord('', settings), 0, 1);
else
    results = reshape([records{:}], [], 1);
end
if ~isempty(options.csvFile)
    writeTable(options.csvFile, results);
end
end

function [files, options] = parseInput(inputs)
% The file list and the options, checked.
if isempty(inputs)
    error('Vesk:batch:nargin', ['vesk_batch: no files given. Pass a cell array of file ' ...
          'names, or a folder and a pattern: vesk_batch(''photos'', ''*.png'').']);
end
names = {'functions', 'workers', 'outputfolder', 'returnmaps', 'csvfile', 'progress', 'reader'};
source = inputs{1};
rest = inputs(2:end);
if iscell(source)
    if ~all(cellfun(@(f) ischar(f) && (isrow(f) || isempty(f)), source(:)))
        error('Vesk:batch:files', ['vesk_batch: the cell array of files must hold file ' ...
              'names (character row vectors) only.']);
    end
    files = reshape(source, [], 1);
elseif ischar(source) && isrow(source)
    patterns = {};
    if ~isempty(rest) && ~(ischar(rest{1}) && any(strcmpi(rest{1}, names)))
        patterns = rest{1};
        rest = rest(2:end);
        if ischar(patterns)
            patterns = {patterns};
        end
        if ~iscellstr(patterns)
            error('Vesk:batch:pattern', ['vesk_batch: the pattern must be text such as ' ...
                  '''*.png'', or a cell array of such patterns.']);
        end
    end
    files = folderFiles(source, patterns);
else
    error('Vesk:batch:files', ['vesk_batch: the first input must be a cell array of file ' ...
          'names or a folder name, not a %s.'], class(source));
end

options = struct('functions', {{'Vesk', 'Vesk2'}}, 'workers', 1, 'outputFolder', '', ...
                 'returnMaps', false, 'csvFile', '', 'progress', true, 'reader', []);
if mod(numel(rest), 2) ~= 0
    error('Vesk:batch:option', ['vesk_batch: options come in name/value pairs; ' ...
          'the last name has no value.']);
end
for k = 1:2:numel(rest)
    name = rest{k};
    value = rest{k + 1};
    if ~ischar(name) || ~any(strcmpi(name, names))
        error('Vesk:batch:option', ['vesk_batch: unknown option; the options are ' ...
              'Functions, Workers, OutputFolder, ReturnMaps, CsvFile, Progress and Reader.']);
    end
    switch lower(name)
        case 'functions'
            if ischar(value)
                value = {value};
            end
            if ~iscellstr(value) || isempty(value) || ~all(ismember(value, {'Vesk', 'Vesk2'}))
                error('Vesk:batch:option', ['vesk_batch: Functions must be ''Vesk'', ''Vesk2'' ' ...
                      'or {''Vesk'', ''Vesk2''}.']);
            end
            options.functions = value;
        case 'workers'
            if ~isnumeric(value) || ~isscalar(value) || ~(value >= 1) || ...
                    (value ~= fix(value) && ~isinf(value))
                error('Vesk:batch:option', ['vesk_batch: Workers must be a whole number of ' ...
                      '1 or more, or Inf.']);
            end
            options.workers = double(value);
        case {'outputfolder', 'csvfile'}
            if ~ischar(value) || (~isrow(value) && ~isempty(value))
                error('Vesk:batch:option', 'vesk_batch: %s must be a file or folder name.', name);
            end
            if strcmpi(name, 'csvfile')
                options.csvFile = value;
            else
                options.outputFolder = value;
            end
        case {'returnmaps', 'progress'}
            if ~isscalar(value) || ~(islogical(value) || isnumeric(value))
                error('Vesk:batch:option', 'vesk_batch: %s must be true or false.', name);
            end
            if strcmpi(name, 'progress')
                options.progress = logical(value);
            else
                options.returnMaps = logical(value);
            end
        case 'reader'
            if ischar(value)
                value = str2func(value);
            end
            if ~isa(value, 'function_handle')
                error('Vesk:batch:option', ['vesk_batch: Reader must be a function handle, ' ...
                      'such as @dicomread.']);
            end
            options.reader = value;
    end
end
end

function files = folderFiles(folder, patterns)
% The files of FOLDER matching any of PATTERNS (default: the extensions
% imread knows), sorted by name.
if ~exist(folder, 'dir')
    error('Vesk:batch:folder', ['vesk_batch: no folder %s. Pass an existing folder, or a ' ...
          'cell array of file names.'], folder);
end
names = {};
if isempty(patterns)
    formats = imformats();
    known = lower([formats.ext]);
    found = dir(folder);
    found = found(~[found.isdir]);
    for k = 1:numel(found)
        [~, ~, extension] = fileparts(found(k).name);
        if numel(extension) > 1 && any(strcmp(lower(extension(2:end)), known))
            names{end + 1, 1} = found(k).name; %#ok<AGROW>
        end
    end
end
for k = 1:numel(patterns)
    found = dir(fullfile(folder, patterns{k}));
    found = found(~[found.isdir]);
    names = [names; {found.name}']; %#ok<AGROW>
end
names = unique(names);  % sorted
files = cellfun(@(name) fullfile(folder, name), names, 'UniformOutput', false);
files = reshape(files, [], 1);
end

function settings = batchSettings(options)
% What every image's processing needs, decided once so that every worker
% does the same.
settings = struct('vesk', any(strcmp(options.functions, 'Vesk')), ...
                  'vesk2', any(strcmp(options.functions, 'Vesk2')), ...
                  'returnMaps', options.returnMaps, 'outputFolder', options.outputFolder, ...
                  'reader', {options.reader}, ...
                  'hostRgb2gray', exist('rgb2gray') ~= 0, ...  %#ok<EXIST>
                  'warnings', '');
end

function stems = outputStems(files)
% Each file's name for its outputs: its own name, or, where files of the
% batch share one (case aside, for case-insensitive file systems), that
% name and the file's position.
stems = cell(size(files));
for k = 1:numel(files)
    [~, stems{k}] = fileparts(files{k});
end
for pass = 1:2
    [~, ~, group] = unique(lower(stems));
    counts = accumarray(group(:), 1);
    clash = counts(group) > 1;
    if ~any(clash)
        return;
    end
    for k = reshape(find(clash), 1, [])
        if pass == 1
            stems{k} = sprintf('%s_%d', stems{k}, k);
        else
            stems{k} = sprintf('image_%d', k);
        end
    end
end
if numel(unique(lower(stems))) < numel(stems)
    stems = arrayfun(@(k) sprintf('image_%d', k), reshape(1:numel(files), size(files)), ...
                     'UniformOutput', false);
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
warning('Vesk:batch:serial', 'vesk_batch: running serially, with one worker: %s.', reason);
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
% MATLAB: parfor over the current pool, progress sent back to this client.
records = cell(size(files));
queue = [];
if progress && exist('parallel.pool.DataQueue', 'class') == 8
    queue = parallel.pool.DataQueue;
    afterEach(queue, @(failed) reportProgress('image', failed));
end
parfor (k = 1:numel(files), workers)
    record = processImage(files{k}, stems{k}, settings);
    if ~isempty(queue)
        send(queue, ~isempty(record.errorIdentifier));
    end
    records{k} = record;
end
end

function record = emptyRecord(file, settings)
% One row of the results, before the image is processed.
record = struct('file', file, 'distribution', [], 'level', [], 'size', [], 'class', '', ...
                'errorIdentifier', '', 'errorMessage', '');
if settings.returnMaps
    record.map = [];
    record.signedMap = [];
end
if ~isempty(settings.outputFolder)
    record.outputFiles = {};
end
end

function record = processImage(file, stem, settings)
% Reads, converts and measures one image; whatever goes wrong is recorded
% in the row instead of stopping the batch.
record = emptyRecord(file, settings);
takeWarnings(settings.warnings);
try
    if isempty(settings.reader)
        [img, colours] = imread(file);
    else
        img = settings.reader(file);
        colours = [];
    end
catch err
    record = failed(record, 'Vesk:batch:unreadable', sprintf(['Could not read %s: %s ' ...
                    '(check that the file exists and is an image the reader knows).'], ...
                    file, err.message));
    return;
end
record.size = size(img);
record.class = class(img);

try
    grey = greyImage(img, colours, settings);
catch err
    record = failed(record, 'Vesk:batch:notGrey', sprintf(['Could not make a grey image ' ...
                    'of %s (%s %s): %s'], file, mat2str(size(img)), class(img), err.message));
    return;
end
clear img;

map = [];
distribution = [];
signedMap = [];
level = [];
try
    if settings.vesk
        [map, distribution] = Vesk(grey);
    end
    if settings.vesk2
        [signedMap, level] = Vesk2(grey);
    end
catch err
    identifier = err.identifier;
    if isempty(identifier)
        identifier = 'Vesk:batch:failed';
    end
    record = failed(record, identifier, err.message);
    return;
end
clear grey;

if ~isempty(settings.outputFolder)
    try
        record.outputFiles = writeMaps(settings, stem, file, map, distribution, signedMap, level);
    catch err
        record = failed(record, 'Vesk:batch:writeFailed', sprintf(['Could not write the ' ...
                        'maps of %s to %s: %s'], file, settings.outputFolder, err.message));
        return;
    end
end
record.distribution = distribution;
record.level = level;
if settings.returnMaps
    record.map = map;
    record.signedMap = signedMap;
end
end

function text = warningsAsText()
% The caller's warning settings for the workers, as one line of
% 'identifier=state' pairs: sent with every image, a line costs far less to
% pass between processes than the struct array warning() returns.
state = warning();
pairs = strcat({state.identifier}, '=', {state.state});
text = sprintf('%s;', pairs{:});
end

function takeWarnings(text)
% A worker takes the caller's warning settings, once per batch.
persistent taken
if isempty(text) || isequal(text, taken)
    return;
end
pairs = regexp(text, '([^=;]+)=([^;]+);', 'tokens');
for k = 1:numel(pairs)
    warning(pairs{k}{2}, pairs{k}{1});
end
taken = text;
end

function record = failed(record, identifier, message)
record.errorIdentifier = identifier;
record.errorMessage = message;
end

function grey = greyImage(img, colours, settings)
% The image as the plug-ins take it: indexed and colour images converted to
% grey in their own class; everything else as it is.
if ~isempty(colours)
    grey = indexedToGrey(img, colours, settings);
elseif ndims(img) == 3 && size(img, 3) == 3
    if settings.hostRgb2gray
        grey = rgb2gray(img);
    else
        grey = reshape(luminance(reshape(img, [], 3)), size(img, 1), size(img, 2));
    end
else
    grey = img;
end
end

function grey = indexedToGrey(indices, colours, settings)
% The grey of each pixel's colour, in the class of the indices: uint8
% indices give levels 0..255, uint16 ones 0..65535 (rounded), others
% 0..1. A grey colour map, such as imread gives with a PGM file, gives the
% indices back. (Octave's ind2gray returns single for a uint8 image that
% uses index 255, which Vesk would take for levels 0..1.)
if settings.hostRgb2gray
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
            error('Vesk:batch:notGrey', 'indexed image with indices that are not whole numbers from 1');
        end
        positions = double(indices);
        levels = cast(levels, kind);
    otherwise
        error('Vesk:batch:notGrey', 'indexed image of class %s', kind);
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
        error('Vesk:batch:notGrey', 'a colour image of class %s cannot be converted to grey', kind);
end
end

function files = writeMaps(settings, stem, file, map, distribution, signedMap, level)
% NAME.mat and the PNG images of one image's maps; the files written.
saved = struct('file', file);
files = {fullfile(settings.outputFolder, [stem '.mat'])};
if settings.vesk
    saved.map = map;
    saved.distribution = distribution;
end
if settings.vesk2
    saved.signedMap = signedMap;
    saved.level = level;
end
save(files{1}, '-struct', 'saved', '-v7');
if isempty(map) && isempty(signedMap)
    return;  % no pixels to draw
end
if settings.vesk
    low = min(map(:));
    high = max(map(:));
    if low == high
        low = 0;
        high = 1;
    end
    files{end + 1} = fullfile(settings.outputFolder, [stem '_vesk.png']);
    imwrite(colourIndices(map, low, high), hot(256), files{end});
end
if settings.vesk2
    files{end + 1} = fullfile(settings.outputFolder, [stem '_vesk2.png']);
    imwrite(colourIndices(signedMap, -1, 1), blueWhiteRed(256), files{end});
end
end

function indices = colourIndices(values, low, high)
% values (low..high) as 0-based indices into a 256-colour map.
indices = uint8(min(max(round((values - low) / (high - low) * 255), 0), 255));
end

function colours = blueWhiteRed(steps)
% Blue through white to red, symmetric about the middle: the colours of
% vesk_demo's Vesk2 panel.
t = linspace(-1, 1, steps)';
ends = [0.13 0.40 0.67; 0.70 0.09 0.17];
side = 1 + (t >= 0);
colours = 1 - abs(t) .* (1 - ends(side, :));
end

function reportProgress(action, varargin)
% The progress lines: at the start, every 5 seconds, and at the end.
persistent total done failures clock lastLine
switch action
    case 'start'
        [total, engine, workers] = varargin{:};
        done = 0;
        failures = 0;
        clock = tic;
        lastLine = 0;
        switch engine
            case 'parcellfun'
                how = sprintf('%d workers (parcellfun)', workers);
            case 'parfor'
                how = sprintf('%d workers (parfor on the current pool)', workers);
            otherwise
                how = 'serially';
        end
        showLine(sprintf('vesk_batch: %d images, %s', total, how));
    case 'image'
        done = done + 1;
        failures = failures + varargin{1};
        elapsed = toc(clock);
        if elapsed - lastLine >= 5 && done < total
            lastLine = elapsed;
            showLine(sprintf('vesk_batch: %d of %d images, %.1f images/s, %d failed', ...
                             done, total, done / elapsed, failures));
        end
    case 'counted'
        records = varargin{1};
        done = numel(records);
        failures = sum(cellfun(@(r) ~isempty(r.errorIdentifier), records));
    case 'finish'
        elapsed = toc(clock);
        showLine(sprintf('vesk_batch: %d images in %.1f s, %.1f images/s, %d failed', ...
                         done, elapsed, done / max(elapsed, eps), failures));
end
end

function showLine(text)
fprintf(1, '%s\n', text);
if exist('OCTAVE_VERSION', 'builtin')
    fflush(stdout);  % seen at once through a pipe too
end
end

function writeTable(file, results)
% The results as CSV: one line per image, text quoted.
[handle, message] = fopen(file, 'w');
if handle < 0
    error('Vesk:batch:csvFile', 'vesk_batch: cannot write %s: %s', file, message);
end
closer = onCleanup(@() fclose(handle));
columns = [{'file', 'class', 'rows', 'columns', 'channels', 'level'}, ...
           arrayfun(@(k) sprintf('distribution_%d', k), 1:101, 'UniformOutput', false), ...
           {'errorIdentifier', 'errorMessage'}];
fprintf(handle, '%s\n', strjoin(columns, ','));
for k = 1:numel(results)
    r = results(k);
    shape = r.size;
    if isempty(shape)
        dimensions = ',,';
    else
        dimensions = sprintf('%d,%d,%d', shape(1), shape(2), prod(shape(3:end)));
    end
    if isempty(r.distribution)
        distribution = repmat(',', 1, 101);
    else
        distribution = sprintf(',%.17g', r.distribution);
    end
    fprintf(handle, '%s,%s,%s,%s%s,%s,%s\n', quoted(r.file), quoted(r.class), dimensions, ...
            sprintf('%.17g', r.level), distribution, quoted(r.errorIdentifier), ...
            quoted(r.errorMessage));
end
end

function text = quoted(text)
% A CSV field: in double quotes, inner quotes doubled, on one line.
text = regexprep(text, '[\r\n]+', ' ');
quote = char(34);  % spelt out, so that no double-quote character stands in the code
text = [quote strrep(text, quote, [quote quote]) quote];
end

% Built-in tests in Octave's convention (test vesk_batch, pkg test vesk).
%!test
%! ## The shipped photographs give what a plain loop over them gives.
%! folder = fullfile (fileparts (which ("vesk_demo")), "data");
%! results = vesk_batch (folder, "*.png", "Progress", false, "ReturnMaps", true);
%! photos = dir (fullfile (folder, "*.png"));
%! assert (numel (results), numel (photos));
%! for k = 1:numel (photos)
%!   img = imread (fullfile (folder, photos(k).name));
%!   assert ({results(k).errorIdentifier, results(k).size}, {"", size(img)});
%!   if (ndims (img) == 3)
%!     img = rgb2gray (img);
%!   endif
%!   expected = [nthargout(1:2, @Vesk, img), nthargout(1:2, @Vesk2, img)];
%!   assert ({results(k).map, results(k).distribution, results(k).signedMap, results(k).level}, ...
%!           expected);
%! endfor

% A file that cannot be read fails alone, the image after it goes through.
%!test
%! folder = tempname ();
%! mkdir (folder);
%! unwind_protect
%!   fid = fopen (fullfile (folder, "a_broken.png"), "w");
%!   fputs (fid, "no image");
%!   fclose (fid);
%!   copyfile (fullfile (fileparts (which ("vesk_demo")), "data", "camera.png"), folder);
%!   results = vesk_batch (folder, "*.png", "Progress", false);
%!   assert (regexp (results(1).errorIdentifier, ':unreadable$', "once") > 0, results(1).errorIdentifier);
%!   assert (isempty (results(1).distribution));
%!   assert (results(2).errorIdentifier, "");
%!   assert (size (results(2).distribution), [101 1]);
%! unwind_protect_cleanup
%!   confirm_recursive_rmdir (false, "local");
%!   rmdir (folder, "s");
%! end_unwind_protect

%!error <vesk_batch> vesk_batch ()
