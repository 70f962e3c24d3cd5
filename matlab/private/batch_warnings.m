function text = batch_warnings(action, text)
%BATCH_WARNINGS  The caller's warning settings, taken to vesk_batch's workers.
%   TEXT = batch_warnings('text') gives the caller's warning settings as one
%   line of 'identifier=state;' pairs: a line costs far less to pass between
%   processes than the struct array warning() returns.
%   batch_warnings('take', TEXT) sets them in a worker, once per batch
%   (nothing for TEXT '').

persistent taken
if strcmp(action, 'text')
    state = warning();
    pairs = strcat({state.identifier}, '=', {state.state});
    text = sprintf('%s;', pairs{:});
    return;
end
if isempty(text) || isequal(text, taken)
    return;
end
pairs = regexp(text, '([^=;]+)=([^;]+);', 'tokens');
for k = 1:numel(pairs)
    warning(pairs{k}{2}, pairs{k}{1});
end
taken = text;
end
