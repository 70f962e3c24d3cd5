function stems = batch_stems(files)
%BATCH_STEMS  Each file's name for its outputs in vesk_batch's OutputFolder.
%   STEMS = batch_stems(FILES): each file's own name without folder and
%   extension, or, where files of the batch share one (case aside, for
%   case-insensitive file systems), that name and the file's position
%   (NAME_K), and image_K where even those clash.

% What fileparts gives as the name, for every file at once.
if ispc
    folders = '^.*[\\/]';
else
    folders = '^.*/';
end
stems = regexprep(regexprep(files, folders, ''), '\.[^.]*$', '');
for pass = 1:2
    [~, ~, group] = unique(lower(stems));
    counts = accumarray(group(:), 1);
    clash = counts(group) > 1;
    if ~any(clash)
        return;
    end
    for k = reshape(find(clash), 1, [])
        if pass == 1
            stems{k} = sprintf('%s_%d', stems{k}, k);
        else
            stems{k} = sprintf('image_%d', k);
        end
    end
end
if numel(unique(lower(stems))) < numel(stems)
    stems = arrayfun(@(k) sprintf('image_%d', k), reshape(1:numel(files), size(files)), ...
                     'UniformOutput', false);
end
end
