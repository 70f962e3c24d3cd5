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
%                       done/NAME.mat   the image's row and what it was
%                                       made from, written last (Resume)
%                     Files of the batch that share a NAME get _K appended,
%                     K their position in the list (in the sorted list with
%                     Shard). Failed images write nothing. Every file is
%                     written under a temporary name in its folder
%                     (NAME.vesk-partial-PID.EXT) and then renamed, so that
%                     a batch stopped at any moment leaves no half-written
%                     file; the next run with that OutputFolder removes the
%                     temporaries of its own images.
%     'Resume'        true: images whose outputs in OutputFolder (needed)
%                     are complete from an earlier run with the same
%                     options are not computed again; their rows are read
%                     back from done/NAME.mat (and the maps from NAME.mat
%                     with ReturnMaps), the same bits as computed anew.
%                     Complete means: done/NAME.mat is there and records
%                     the same Functions, Reader (its text), file name as
%                     given and NAME, the same size and modification time
%                     of the file as dir gives now, and files that are all
%                     there. Anything else, and every failed image, is
%                     computed again. Default false.
%     'Shard'         [K N]: only share K of N of the sorted file list,
%                     its positions K, K + N, K + 2N, ...; the N shares
%                     hold every file once. 'auto': K and N of a Slurm job
%                     array task, K = (SLURM_ARRAY_TASK_ID -
%                     SLURM_ARRAY_TASK_MIN) / SLURM_ARRAY_TASK_STEP + 1
%                     (step 1 when unset), N = SLURM_ARRAY_TASK_COUNT, for
%                     an array given as a range (--array=1-8 or 0-15:1);
%                     error vesk_batch:noArrayTask outside one. The rows
%                     are the share's files in sorted order; CsvFile
%                     NAME.EXT becomes NAME.shard-K-of-N.EXT.
%                     vesk_batch_merge makes one table of the shares.
%     'ReturnMaps'    true: RESULTS also holds the maps (default false).
%     'CsvFile'       a file to write RESULTS to as a table, one line per
%                     image (default: none). Columns: file, class, rows,
%                     columns, channels, level, distribution_1 ..
%                     distribution_101, errorIdentifier, errorMessage
%                     (RFC 4180: text in double quotes, inner quotes
%                     doubled, every character kept, line breaks too;
%                     records end with a line feed). A text that begins
%                     with =, +, -, @, a tab, a carriage return or a
%                     single quote gets a single quote in front, so that
%                     no spreadsheet evaluates it: drop the first
%                     character of a text that begins with a single quote
%                     to read it back (vesk_batch_merge does). Numbers
%                     with 17 significant digits, so that they read back
%                     to the same bits.
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
%   cannot be written), vesk_batch:noOutputFolder (Resume without one),
%   vesk_batch:noArrayTask, vesk_batch:arrayTask (Shard 'auto' outside a
%   job array task, or in one whose tasks are no range).
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
%   A batch that may be stopped, in N shares (on N machines, or Slurm array
%   tasks with 'Shard', 'auto'), then one table:
%     for k = 1:2
%         vesk_batch(folder, '*.png', 'OutputFolder', fullfile(folder, 'maps'), ...
%                    'Resume', true, 'Shard', [k 2], ...
%                    'CsvFile', fullfile(folder, 'table.csv'), 'Progress', false);
%     end
%     [merged, missing] = vesk_batch_merge(fullfile(folder, 'table.shard-*-of-2.csv'), ...
%                                          'Files', folder, 'Pattern', '*.png');
%
%   See also VESK, VESK2, VESK_BATCH_MERGE, IMREAD, RGB2GRAY, PARFOR, PARPOOL.

[files, options] = batch_options(varargin);
if isempty(options.reader)
    readerText = 'imread';
else
    readerText = func2str(options.reader);
end
vesk = any(strcmp(options.functions, 'Vesk'));
vesk2 = any(strcmp(options.functions, 'Vesk2'));
settings = struct('vesk', vesk, 'vesk2', vesk2, ...
                  'returnMaps', options.returnMaps, 'outputFolder', options.outputFolder, ...
                  'reader', {options.reader}, ...
                  'hostRgb2gray', exist('rgb2gray') ~= 0, ...  %#ok<EXIST>
                  'warnings', '', ...
                  'fingerprint', sprintf('vesk_batch 1|%d%d|%s', vesk, vesk2, readerText));
settings.row = batch_record('', settings);
% The output folder and a separator, as fullfile joins them, made once.
settings.outputPrefix = fullfile(settings.outputFolder, 'x');
settings.outputPrefix(end) = [];
% What an image's outputs are named after its stem: the MAT file, Vesk's and Vesk2's PNG images.
settings.outputSuffixes = struct('mat', '.mat', 'vesk', '_vesk.png', 'vesk2', '_vesk2.png');
if isempty(options.shard)
    stems = batch_stems(files);
else
    % Share K of N: positions K, K + N, K + 2N, ... of the sorted list, whose
    % output names are those of the whole list.
    files = sort(files);
    stems = batch_stems(files);
    take = options.shard(1):options.shard(2):numel(files);
    files = files(take);
    stems = stems(take);
end

records = cell(size(files));
pending = true(size(files));
if ~isempty(settings.outputFolder)
    [records, pending] = batch_outputs('prepare', settings, files, stems, options.resume);
    if options.progress && ~all(pending)
        fprintf(1, 'vesk_batch: %d of %d images complete in %s, read back\n', ...
                sum(~pending), numel(files), settings.outputFolder);
    end
end
if any(pending)
    records(pending) = batch_engine(files(pending), stems(pending), settings, options.workers, ...
                                    options.progress, @runChunk);
end
if isempty(records)
    results = repmat(batch_record('', settings), 0, 1);
else
    results = reshape([records{:}], [], 1);
end
if ~isempty(options.csvFile)
    csvFile = options.csvFile;
    if ~isempty(options.shard)
        [folder, name, extension] = fileparts(csvFile);
        csvFile = fullfile(folder, sprintf('%s.shard-%d-of-%d%s', name, options.shard, extension));
    end
    batch_table(csvFile, results);
end
end

function records = runChunk(files, stems, settings)
% The images of one chunk, in a worker or in this process.
records = cell(size(files));
for k = 1:numel(files)
    records{k} = batch_image(files{k}, stems{k}, settings);
end
end

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
