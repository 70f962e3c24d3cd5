function varargout = batch_outputs(action, settings, varargin)
%BATCH_OUTPUTS  What vesk_batch finds and leaves in its OutputFolder.
%   [RECORDS, PENDING] = batch_outputs('prepare', SETTINGS, FILES, STEMS,
%   RESUME) makes the OutputFolder and its done/ folder where missing,
%   removes the temporaries an earlier run stopped midway left for any of
%   STEMS (batch_atomic), and with RESUME reads back the rows of the images
%   whose outputs are complete: RECORDS{K} the row of FILES{K}, PENDING(K)
%   false for those; every other image is pending.
%
%   An image's outputs are complete when done/STEM.mat exists, written last
%   (after STEM.mat and the PNG images), and it holds the fingerprint of
%   this call (the functions, the Reader, the file name as given and STEM),
%   the file's size and modification time now (Octave: stat, seconds;
%   MATLAB: dir, datenum), and names output files that all exist.
%
%   STAMP = batch_outputs('stamp', SETTINGS, FILE): the file's size and
%   time (taken before it is read); batch_outputs('done', SETTINGS, FILE,
%   STEM, STAMP, RECORD, NAMES) writes done/STEM.mat (MAT 6, quick to read
%   back) for a row that went through.
%   PATHS = batch_outputs('paths', SETTINGS, NAMES): a row's outputFiles,
%   the output files NAMES with the folder, 1 x N.

switch action
    case 'prepare'
        [varargout{1}, varargout{2}] = prepare(settings, varargin{:});
    case 'stamp'
        varargout{1} = stampOf(varargin{1});
    case 'paths'
        varargout{1} = pathsOf(settings.outputPrefix, varargin{1});
    case 'done'
        [file, stem, stamp, record, names] = varargin{:};
        done = struct('fingerprint', fingerprint(settings, file, stem), 'bytes', stamp(1), ...
                      'datenum', stamp(2), 'outputs', {names}, ...
                      'distribution', record.distribution, 'level', record.level, ...
                      'size', record.size, 'class', record.class);
        batch_atomic([settings.outputPrefix 'done' filesep stem '.mat'], done, '-v6');
end
end

function [records, pending] = prepare(settings, files, stems, resume)
folder = settings.outputFolder;
doneFolder = fullfile(folder, 'done');
for made = {folder, doneFolder}
    if ~exist(made{1}, 'dir')
        [ok, message] = mkdir(made{1});
        % Shares of one batch start together: another may have made it meanwhile.
        if ~ok && ~exist(made{1}, 'dir')
            error('vesk_batch:outputFolder', 'vesk_batch: cannot make the output folder %s: %s', ...
                  made{1}, message);
        end
    end
end
suffixes = settings.outputSuffixes;
present = removePartial(folder, [strcat(stems, suffixes.mat); strcat(stems, suffixes.vesk); ...
                                 strcat(stems, suffixes.vesk2)]);
doneFiles = removePartial(doneFolder, strcat(stems, '.mat'));

records = cell(size(files));
pending = true(size(files));
if ~resume
    return;
end
outputs = cell(size(files));
for k = reshape(find(ismember(strcat(stems, '.mat'), doneFiles)), 1, [])
    [records{k}, outputs{k}] = readBack(settings, files{k}, stems{k});
end
% Every output named by a record must still be there.
listed = find(~cellfun('isempty', records));
if ~isempty(listed)
    named = vertcat(outputs{listed});
    missing = named(~ismember(named, present));
    if ~isempty(missing)
        for k = reshape(listed, 1, [])
            if any(ismember(outputs{k}, missing))
                records{k} = [];
            end
        end
    end
end
pending = cellfun('isempty', records);
if settings.returnMaps
    for k = reshape(find(~pending), 1, [])
        records{k} = withMaps(records{k}, [settings.outputPrefix stems{k} suffixes.mat]);
    end
end
end

function present = removePartial(folder, ours)
% The files of FOLDER among OURS, less the temporaries of OURS, which go.
% Octave's dir would stat and date every entry of the folder; here only the
% entries that concern OURS are looked at (one stat each).
prefix = [folder filesep];
if exist('OCTAVE_VERSION', 'builtin')
    names = readdir(folder);
    names = names(~strcmp(names, '.') & ~strcmp(names, '..'));
    folders = [];
else
    found = dir(folder);
    names = {found.name}';
    folders = [found.isdir]';
end
targets = regexprep(names, '\.vesk-partial-\d+(\.[^.]*)?$', '$1');
partial = ~strcmp(targets, names) & ismember(targets, ours);
mine = find(partial | ismember(names, ours));
if isempty(folders)
    folders = false(size(names));
    for k = reshape(mine, 1, [])
        [info, failed] = stat([prefix names{k}]);
        folders(k) = failed ~= 0 || S_ISDIR(info.mode);
    end
end
partial = partial & ~folders;
for k = reshape(find(partial), 1, [])
    delete([prefix names{k}]);
end
present = names(ismember(names, ours) & ~folders);
end

function [record, outputs] = readBack(settings, file, stem)
% The row of FILE from its done/ record, [] where it does not fit this call.
record = [];
outputs = {};
try
    done = load([settings.outputPrefix 'done' filesep stem '.mat']);
catch
    return;  % unreadable: the image is computed again
end
stamp = stampOf(file);
if isempty(stamp) || ~strcmp(done.fingerprint, fingerprint(settings, file, stem)) || ...
        done.bytes ~= stamp(1) || done.datenum ~= stamp(2)
    return;
end
outputs = reshape(done.outputs, [], 1);
record = batch_record(file, settings);
record.distribution = done.distribution;
record.level = done.level;
record.size = done.size;
record.class = done.class;
record.outputFiles = pathsOf(settings.outputPrefix, outputs);
end

function record = withMaps(record, matFile)
saved = load(matFile);
for field = {'map', 'signedMap'}
    if isfield(saved, field{1})
        record.(field{1}) = saved.(field{1});
    end
end
end

function paths = pathsOf(prefix, names)
% PREFIX before each of NAMES, 1 x N (strcat costs more on a few names).
paths = cell(1, numel(names));
for k = 1:numel(names)
    paths{k} = [prefix names{k}];
end
end

function stamp = stampOf(file)
% The file's size and modification time; [] for no file.
stamp = [];
if exist('OCTAVE_VERSION', 'builtin')
    [info, failed] = stat(file);
    if failed == 0 && ~S_ISDIR(info.mode)
        stamp = [info.size, info.mtime];
    end
else
    found = dir(file);
    if numel(found) == 1 && ~found.isdir
        stamp = [found.bytes, found.datenum];
    end
end
end

function text = fingerprint(settings, file, stem)
text = sprintf('%s|%s|%s', settings.fingerprint, stem, file);
end
