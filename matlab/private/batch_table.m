function batch_table(file, results)
%BATCH_TABLE  vesk_batch's results as a CSV table.
%   batch_table(FILE, RESULTS) writes one line per row of RESULTS: file,
%   class, rows, columns, channels, level, distribution_1 ..
%   distribution_101, errorIdentifier, errorMessage; text quoted, numbers
%   with 17 significant digits.

[handle, message] = fopen(file, 'w');
if handle < 0
    error('vesk_batch:csvFile', 'vesk_batch: cannot write %s: %s', file, message);
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
