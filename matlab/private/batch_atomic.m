function batch_atomic(target, write, version)
%BATCH_ATOMIC  Writes a file of vesk_batch whole or not at all.
%   batch_atomic(TARGET, WRITE) calls WRITE(TEMPORARY) to write the file
%   under a temporary name in TARGET's folder, NAME.vesk-partial-PID.EXT
%   for TARGET NAME.EXT (PID: the writing process), then renames it to
%   TARGET, replacing any file of that name. A process stopped at any moment
%   leaves TARGET as it was or as it is meant to be, and at most the
%   temporary beside it, which the next run with that OutputFolder removes
%   (batch_outputs). Errors vesk_batch:writeFailed.
%   batch_atomic(TARGET, SAVED, VERSION), SAVED a struct: its fields as the
%   variables of a MAT file of VERSION ('-v7', compressed, or '-v6').

persistent partial
if isempty(partial)
    if exist('OCTAVE_VERSION', 'builtin')
        pid = getpid();
    else
        pid = feature('getpid');
    end
    partial = sprintf('.vesk-partial-%d', pid);
end
% NAME.EXT to NAME.vesk-partial-PID.EXT (as fileparts splits it; it costs
% more than the work here on a small image).
dot = find(target == '.', 1, 'last');
if isempty(dot) || any(target(dot:end) == '/') || any(target(dot:end) == filesep)
    dot = numel(target) + 1;
end
temporary = [target(1:dot - 1) partial target(dot:end)];
try
    if isstruct(write)
        save(temporary, '-struct', 'write', version);
    else
        write(temporary);
    end
    if exist('OCTAVE_VERSION', 'builtin')
        [status, message] = rename(temporary, target);
    else
        [moved, message] = movefile(temporary, target, 'f');
        status = ~moved;
    end
    if status ~= 0
        error('vesk_batch:writeFailed', 'cannot rename %s to %s: %s', temporary, target, message);
    end
catch err
    if exist(temporary, 'file')
        delete(temporary);
    end
    rethrow(err);
end
end
