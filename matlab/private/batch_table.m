function batch_table(file, results)
%BATCH_TABLE  vesk_batch's results as a CSV table (RFC 4180).
%   batch_table(FILE, RESULTS) writes a header and one record per row of
%   RESULTS: file, class, rows, columns, channels, level, distribution_1 ..
%   distribution_101, errorIdentifier, errorMessage. Text fields are in
%   double quotes with inner quotes doubled, every character kept (line
%   breaks too); a text that begins with =, +, -, @, a tab, a carriage
%   return or a single quote gets a single quote in front, so that no
%   spreadsheet takes it for a formula (drop the first character of a text
%   that begins with a single quote to undo it: batch_read_table does).
%   Numbers have 17 significant digits, so that they read back to the same
%   bits; records end with a line feed. Written whole or not at all
%   (batch_atomic).

batch_atomic(file, @(temporary) writeTable(temporary, results));
end

function writeTable(file, results)
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
% A CSV text field: made inert, in double quotes, inner quotes doubled.
if ~isempty(text) && any(text(1) == ['=+-@''' char([9 13])])
    text = ['''' text];
end
quote = char(34);  % spelt out, so that no double-quote character stands in the code
text = [quote strrep(text, quote, [quote quote]) quote];
end
