function [files, options] = batch_options(inputs)
%BATCH_OPTIONS  vesk_batch's file list and options, checked.
%   [FILES, OPTIONS] = batch_options(INPUTS) for the cell array of
%   vesk_batch's inputs: FILES an N x 1 cell array of file names, OPTIONS a
%   struct of every option (defaults where not given). Errors
%   vesk_batch:<reason> for a call that cannot run.

if isempty(inputs)
    error('vesk_batch:nargin', ['vesk_batch: no files given. Pass a cell array of file ' ...
          'names, or a folder and a pattern: vesk_batch(''photos'', ''*.png'').']);
end
names = {'functions', 'workers', 'outputfolder', 'returnmaps', 'csvfile', 'progress', 'reader', ...
         'resume', 'shard'};
source = inputs{1};
rest = inputs(2:end);
if iscell(source)
    % (cellfun with the names of built-in functions: quick on many files)
    if ~iscellstr(source) || any(cellfun('ndims', source(:)) > 2) || ...
            any(cellfun('size', source(:), 1) > 1)
        error('vesk_batch:files', ['vesk_batch: the cell array of files must hold file ' ...
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
            error('vesk_batch:pattern', ['vesk_batch: the pattern must be text such as ' ...
                  '''*.png'', or a cell array of such patterns.']);
        end
    end
    files = folderFiles(source, patterns);
else
    error('vesk_batch:files', ['vesk_batch: the first input must be a cell array of file ' ...
          'names or a folder name, not a %s.'], class(source));
end

options = struct('functions', {{'Vesk', 'Vesk2'}}, 'workers', 1, 'outputFolder', '', ...
                 'returnMaps', false, 'csvFile', '', 'progress', true, 'reader', [], ...
                 'resume', false, 'shard', []);
if mod(numel(rest), 2) ~= 0
    error('vesk_batch:option', ['vesk_batch: options come in name/value pairs; ' ...
          'the last name has no value.']);
end
for k = 1:2:numel(rest)
    name = rest{k};
    value = rest{k + 1};
    if ~ischar(name) || ~any(strcmpi(name, names))
        error('vesk_batch:option', ['vesk_batch: unknown option; the options are ' ...
              'Functions, Workers, OutputFolder, ReturnMaps, CsvFile, Progress, Reader, ' ...
              'Resume and Shard.']);
    end
    switch lower(name)
        case 'functions'
            if ischar(value)
                value = {value};
            end
            if ~iscellstr(value) || isempty(value) || ~all(ismember(value, {'Vesk', 'Vesk2'}))
                error('vesk_batch:option', ['vesk_batch: Functions must be ''Vesk'', ''Vesk2'' ' ...
                      'or {''Vesk'', ''Vesk2''}.']);
            end
            options.functions = value;
        case 'workers'
            if ~isnumeric(value) || ~isscalar(value) || ~(value >= 1) || ...
                    (value ~= fix(value) && ~isinf(value))
                error('vesk_batch:option', ['vesk_batch: Workers must be a whole number of ' ...
                      '1 or more, or Inf.']);
            end
            options.workers = double(value);
        case {'outputfolder', 'csvfile'}
            if ~ischar(value) || (~isrow(value) && ~isempty(value))
                error('vesk_batch:option', 'vesk_batch: %s must be a file or folder name.', name);
            end
            if strcmpi(name, 'csvfile')
                options.csvFile = value;
            else
                options.outputFolder = value;
            end
        case {'returnmaps', 'progress', 'resume'}
            if ~isscalar(value) || ~(islogical(value) || isnumeric(value))
                error('vesk_batch:option', 'vesk_batch: %s must be true or false.', name);
            end
            field = struct('returnmaps', 'returnMaps', 'progress', 'progress', 'resume', 'resume');
            options.(field.(lower(name))) = logical(value);
        case 'shard'
            options.shard = shareOf(value);
        case 'reader'
            if ischar(value)
                value = str2func(value);
            end
            if ~isa(value, 'function_handle')
                error('vesk_batch:option', ['vesk_batch: Reader must be a function handle, ' ...
                      'such as @dicomread.']);
            end
            options.reader = value;
    end
end

if options.resume && isempty(options.outputFolder)
    error('vesk_batch:noOutputFolder', ['vesk_batch: Resume reads the earlier run''s ' ...
          'outputs back from the OutputFolder; give the OutputFolder of that run.']);
end
end

function share = shareOf(value)
% [K N] from the Shard option: given, or from the Slurm job array's task.
if ischar(value) && strcmpi(value, 'auto')
    names = {'SLURM_ARRAY_TASK_ID', 'SLURM_ARRAY_TASK_MIN', 'SLURM_ARRAY_TASK_COUNT'};
    numbers = cellfun(@(name) str2double(getenv(name)), names);
    if any(isnan(numbers))
        error('vesk_batch:noArrayTask', ['vesk_batch: Shard ''auto'' takes the share from ' ...
              'a Slurm job array task (SLURM_ARRAY_TASK_ID, SLURM_ARRAY_TASK_MIN and ' ...
              'SLURM_ARRAY_TASK_COUNT), and this process is none; run it from sbatch ' ...
              '--array, or give the share as [K N].']);
    end
    step = str2double(getenv('SLURM_ARRAY_TASK_STEP'));
    if isnan(step)
        step = 1;
    end
    value = [(numbers(1) - numbers(2)) / step + 1, numbers(3)];
    if ~(value(1) >= 1 && value(1) <= value(2) && value(1) == fix(value(1)))
        error('vesk_batch:arrayTask', ['vesk_batch: task %d of the job array (first %d, ' ...
              'step %d, %d tasks) is no share of %d; give the array as a range such as ' ...
              '--array=1-%d or 0-%d.'], numbers(1), numbers(2), step, numbers(3), ...
              numbers(3), numbers(3), numbers(3) - 1);
    end
end
if ~isnumeric(value) || numel(value) ~= 2 || any(value ~= fix(value)) || ...
        ~(value(2) >= 1 && value(1) >= 1 && value(1) <= value(2))
    error('vesk_batch:option', ['vesk_batch: Shard must be [K N], share K of N (whole ' ...
          'numbers, 1 <= K <= N), or ''auto''.']);
end
share = double(reshape(value, 1, 2));
end

function files = folderFiles(folder, patterns)
% The files of FOLDER matching any of PATTERNS (default: the extensions
% imread knows), sorted by name.
if ~exist(folder, 'dir')
    error('vesk_batch:folder', ['vesk_batch: no folder %s. Pass an existing folder, or a ' ...
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
