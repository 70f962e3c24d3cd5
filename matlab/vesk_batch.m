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
%                     serially and warns once (vesk_batch:serial).
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
%   Failures: vesk_batch:unreadable (the file could not be read),
%   vesk_batch:notGrey (no grey image could be made of it),
%   vesk_batch:writeFailed (its maps could not be written), or the
%   plug-in's own refusal, such as Vesk:unsupportedClass.
%
%   Errors (the call stops): vesk_batch:nargin (no files), vesk_batch:files
%   (not a list of file names), vesk_batch:folder (no such folder),
%   vesk_batch:pattern, vesk_batch:option (a bad option or value),
%   vesk_batch:outputFolder (it cannot be made), vesk_batch:csvFile (it
%   cannot be written).
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

[files, options] = batch_options(varargin);
settings = struct('vesk', any(strcmp(options.functions, 'Vesk')), ...
                  'vesk2', any(strcmp(options.functions, 'Vesk2')), ...
                  'returnMaps', options.returnMaps, 'outputFolder', options.outputFolder, ...
                  'reader', {options.reader}, ...
                  'hostRgb2gray', exist('rgb2gray') ~= 0, ...  %#ok<EXIST>
                  'warnings', '');
stems = batch_stems(files);
if ~isempty(settings.outputFolder) && ~exist(settings.outputFolder, 'dir')
    [made, message] = mkdir(settings.outputFolder);
    if ~made
        error('vesk_batch:outputFolder', 'vesk_batch: cannot make the output folder %s: %s', ...
              settings.outputFolder, message);
    end
end

records = batch_engine(files, stems, settings, options.workers, options.progress, @runChunk);
if isempty(records)
    results = repmat(batch_record('', settings), 0, 1);
else
    results = reshape([records{:}], [], 1);
end
if ~isempty(options.csvFile)
    batch_table(options.csvFile, results);
end
end

function records = runChunk(files, stems, settings)
% The images of one chunk, in a worker or in this process.
records = cell(size(files));
for k = 1:numel(files)
    records{k} = batch_image(files{k}, stems{k}, settings);
end
end
