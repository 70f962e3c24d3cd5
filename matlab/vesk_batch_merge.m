function [results, missing] = vesk_batch_merge(sources, varargin)
%VESK_BATCH_MERGE  One table of the shares of a sharded vesk_batch.
%   RESULTS = vesk_batch_merge(SOURCES) merges the tables of the shares of
%   a batch run with vesk_batch(..., 'Shard', [K N]) into the one a single
%   run gives. SOURCES is a CSV file vesk_batch wrote (with 'CsvFile'), a
%   pattern such as 'table.shard-*-of-4.csv' (the name each share's
%   CsvFile gets), the RESULTS struct array of a share, or a cell array of
%   any of those. RESULTS is an N x 1 struct array with the fields file,
%   distribution, level, size, class, errorIdentifier and errorMessage, one
%   row per image, sorted by file name as the shares' list is, the numbers
%   the same bits as in the shares.
%
%   [RESULTS, MISSING] = vesk_batch_merge(SOURCES, 'Files', FILES) puts the
%   rows in the order vesk_batch(FILES) gives them (FILES: the cell array of
%   file names the batch was given) and lists in MISSING (a cell column)
%   the files of FILES that no share has, with a warning
%   vesk_batch_merge:missing when there are any: a share that did not run
%   or did not finish. 'Files', FOLDER, 'Pattern', PATTERN does the same
%   for vesk_batch(FOLDER, PATTERN) (without Pattern: vesk_batch(FOLDER)).
%   Without Files, CSV files named NAME.shard-K-of-N.EXT whose K do not
%   cover 1..N draw the warning vesk_batch_merge:missing naming the shares
%   without a table.
%
%   vesk_batch_merge(..., 'CsvFile', FILE) also writes the merged table,
%   byte for byte the table a single run writes.
%
%   Reading a CSV table undoes what vesk_batch did to keep spreadsheets
%   from evaluating a text: a text field that begins with a single quote
%   loses it (vesk_batch put it in front of a text beginning with =, +, -,
%   @, a tab, a carriage return or a single quote).
%
%   Errors: vesk_batch_merge:nargin, vesk_batch_merge:sources (a source
%   that is no table, results or pattern matching a file),
%   vesk_batch_merge:unreadable, vesk_batch_merge:notTable (a CSV file
%   that is no vesk_batch table), vesk_batch_merge:duplicate (a file in
%   two shares), vesk_batch_merge:notInFiles (a row whose file is not in
%   FILES), vesk_batch_merge:option, vesk_batch_merge:folder,
%   vesk_batch_merge:pattern, vesk_batch_merge:csvFile.
%
%   Example:
%     folder = tempname; mkdir(folder);
%     for k = 1:5
%         imwrite(uint8(mod(magic(32) * k, 256)), fullfile(folder, sprintf('%d.png', k)));
%     end
%     table = fullfile(folder, 'table.csv');
%     for k = 1:2
%         vesk_batch(folder, '*.png', 'Shard', [k 2], 'CsvFile', table, 'Progress', false);
%     end
%     [results, missing] = vesk_batch_merge(fullfile(folder, 'table.shard-*-of-2.csv'), ...
%                                           'Files', folder, 'Pattern', '*.png');
%     levels = [results.level]
%
%   See also VESK_BATCH.

if nargin < 1
    error('vesk_batch_merge:nargin', ['vesk_batch_merge: no sources given. Pass the shares'' ' ...
          'CSV files, a pattern matching them, or their results.']);
end
options = struct('files', {[]}, 'pattern', {{}}, 'csvfile', '');
if mod(numel(varargin), 2) ~= 0
    error('vesk_batch_merge:option', 'vesk_batch_merge: options come in name/value pairs.');
end
for k = 1:2:numel(varargin)
    name = varargin{k};
    if ~ischar(name) || ~any(strcmpi(name, fieldnames(options)))
        error('vesk_batch_merge:option', ['vesk_batch_merge: unknown option; the options ' ...
              'are Files, Pattern and CsvFile.']);
    end
    options.(lower(name)) = varargin{k + 1};
end

[rows, tables] = sourceRows(sources);
files = {rows.file}';
[sortedFiles, order] = sort(files);
twice = strcmp(sortedFiles(1:end - 1), sortedFiles(2:end));
if any(twice)
    error('vesk_batch_merge:duplicate', ['vesk_batch_merge: %s is in two shares; merge the ' ...
          'shares of one run only.'], sortedFiles{find(twice, 1)});
end
missing = cell(0, 1);
if isempty(options.files)
    results = rows(order);
    warnMissingShares(tables);
else
    list = fileList(options);
    [found, where] = ismember(list, files);
    unknown = ~ismember(files, list);
    if any(unknown)
        error('vesk_batch_merge:notInFiles', ['vesk_batch_merge: %s is in a share but not ' ...
              'in Files; give the list the batch was given.'], files{find(unknown, 1)});
    end
    results = rows(where(found));
    missing = reshape(list(~found), [], 1);
    if ~isempty(missing)
        warning('vesk_batch_merge:missing', ['vesk_batch_merge: %d of %d files are in no ' ...
                'share, first %s; run their share again (with Resume).'], numel(missing), ...
                numel(list), missing{1});
    end
end
results = reshape(results, [], 1);
if ~isempty(options.csvfile)
    if ~ischar(options.csvfile)
        error('vesk_batch_merge:option', 'vesk_batch_merge: CsvFile must be a file name.');
    end
    try
        batch_table(options.csvfile, results);
    catch err
        error('vesk_batch_merge:csvFile', 'vesk_batch_merge: %s', err.message);
    end
end
end

function [rows, tables] = sourceRows(sources)
% Every row of every source, with the fields a table holds; the CSV files read.
if ~iscell(sources)
    sources = {sources};
end
fields = {'file', 'distribution', 'level', 'size', 'class', 'errorIdentifier', 'errorMessage'};
rows = cell2struct(cell(numel(fields), 0), fields, 1);
tables = {};
for k = 1:numel(sources)
    source = sources{k};
    if isstruct(source) && all(isfield(source, fields))
        kept = rmfield(source, setdiff(fieldnames(source), fields));
        rows = [rows; orderfields(reshape(kept, [], 1), rows)]; %#ok<AGROW>
    elseif ischar(source) && any(source == '*')
        found = dir(source);
        if isempty(found)
            error('vesk_batch_merge:sources', 'vesk_batch_merge: no file matches %s.', source);
        end
        folder = fileparts(source);
        for f = 1:numel(found)
            tables{end + 1} = fullfile(folder, found(f).name); %#ok<AGROW>
            rows = [rows; batch_read_table(tables{end})]; %#ok<AGROW>
        end
    elseif ischar(source)
        tables{end + 1} = source; %#ok<AGROW>
        rows = [rows; batch_read_table(source)]; %#ok<AGROW>
    else
        error('vesk_batch_merge:sources', ['vesk_batch_merge: a source must be a CSV file ' ...
              'name, a pattern or the results of vesk_batch, not a %s.'], class(source));
    end
end
end

function warnMissingShares(tables)
% The shares K of N, by the names vesk_batch gives their tables, that none
% of TABLES is.
shares = regexp(tables, '\.shard-(\d+)-of-(\d+)\.[^.\\/]*$', 'tokens', 'once');
shares = shares(~cellfun('isempty', shares));
if isempty(shares)
    return;
end
numbers = reshape(str2double([shares{:}]), 2, [])';
if numel(unique(numbers(:, 2))) ~= 1
    return;  % shares of several splits: nothing to say
end
absent = setdiff(1:numbers(1, 2), numbers(:, 1));
if ~isempty(absent)
    warning('vesk_batch_merge:missing', ['vesk_batch_merge: no table of share %s of %d; ' ...
            'run it (with Resume) and merge again.'], strjoin(arrayfun(@num2str, absent, ...
            'UniformOutput', false), ', '), numbers(1, 2));
end
end

function list = fileList(options)
% The files the batch was given, in the order it gives their rows.
if iscell(options.files)
    list = reshape(options.files, [], 1);
    return;
end
inputs = {options.files};
if ~isempty(options.pattern)
    inputs{2} = options.pattern;
end
try
    list = batch_options(inputs);
catch err
    error(strrep(err.identifier, 'vesk_batch:', 'vesk_batch_merge:'), '%s', ...
          strrep(err.message, 'vesk_batch:', 'vesk_batch_merge:'));
end
end
