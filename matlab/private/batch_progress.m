function batch_progress(action, varargin)
%BATCH_PROGRESS  vesk_batch's progress lines.
%   batch_progress('start', TOTAL, ENGINE, WORKERS) prints the first line;
%   batch_progress('image', FAILED) counts one image done, with a line every
%   5 seconds; batch_progress('counted', RECORDS) counts the rows parcellfun
%   gave back at once; batch_progress('finish') prints the summary.

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
