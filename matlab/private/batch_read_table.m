function results = batch_read_table(file)
%BATCH_READ_TABLE  The rows of a CSV table vesk_batch wrote.
%   RESULTS = batch_read_table(FILE): an N x 1 struct array with the fields
%   file, distribution, level, size, class, errorIdentifier, errorMessage,
%   read back as batch_table wrote them (the single quote in front of an
%   inert text dropped; size [rows columns], with channels when more than
%   one). Errors vesk_batch_merge:unreadable, vesk_batch_merge:notTable.

[handle, message] = fopen(file, 'r');
if handle < 0
    error('vesk_batch_merge:unreadable', 'vesk_batch_merge: cannot read %s: %s', file, message);
end
text = fread(handle, Inf, '*char')';
fclose(handle);
% Fields one after another, each with what ends it: a comma, a line feed or
% the end of the text.
quote = char(34);
pattern = sprintf('(%s(?:[^%s]|%s%s)*%s|[^,%s\\n]*)(,|\\n|$)', quote, quote, quote, quote, ...
                  quote, quote);
try
    tokens = regexp(text, pattern, 'tokens');
catch err
    error('vesk_batch_merge:notTable', 'vesk_batch_merge: %s is no vesk_batch table: %s', ...
          file, err.message);
end
fields = cellfun(@(t) t{1}, tokens, 'UniformOutput', false);
separators = cellfun(@(t) t{2}, tokens, 'UniformOutput', false);
recordEnds = find(strcmp(separators, sprintf('\n')));
columns = 109;
if isempty(recordEnds) || recordEnds(1) ~= columns || ~strcmp(fields{1}, 'file')
    error('vesk_batch_merge:notTable', ['vesk_batch_merge: %s is no table vesk_batch ' ...
          'wrote (its header must start with file and have %d columns).'], file, columns);
end
rows = numel(recordEnds) - 1;
if any(diff(recordEnds) ~= columns)
    error('vesk_batch_merge:notTable', ['vesk_batch_merge: %s: every record of a vesk_batch ' ...
          'table has %d fields.'], file, columns);
end
cells = reshape(fields(columns + 1:recordEnds(end)), columns, rows);
results = repmat(struct('file', '', 'distribution', [], 'level', [], 'size', [], ...
                        'class', '', 'errorIdentifier', '', 'errorMessage', ''), rows, 1);
for k = 1:rows
    c = cells(:, k);
    r = results(k);
    r.file = unquoted(c{1});
    r.class = unquoted(c{2});
    shape = str2double(c(3:5))';
    if ~any(isnan(shape))
        r.size = shape(1:2 + (shape(3) ~= 1));
    end
    r.level = number(c{6});
    numbers = str2double(c(7:107));
    if ~all(isnan(numbers))
        r.distribution = reshape(numbers, 101, 1);
    end
    r.errorIdentifier = unquoted(c{108});
    r.errorMessage = unquoted(c{109});
    results(k) = r;
end
end

function value = number(text)
value = [];
if ~isempty(text)
    value = str2double(text);
end
end

function text = unquoted(text)
% A text field as it was before batch_table quoted it.
quote = char(34);
if numel(text) >= 2 && text(1) == quote
    text = strrep(text(2:end - 1), [quote quote], quote);
end
if ~isempty(text) && text(1) == ''''
    text = text(2:end);
end
if isempty(text)
    text = '';  % 0 x 0, as in the rows vesk_batch returns
end
end
