function names = batch_write_maps(settings, stem, file, map, distribution, signedMap, level)
%BATCH_WRITE_MAPS  One image's outputs in vesk_batch's OutputFolder.
%   NAMES = batch_write_maps(SETTINGS, STEM, FILE, MAP, DISTRIBUTION,
%   SIGNEDMAP, LEVEL) writes STEM.mat and the PNG images of the maps
%   (contrast_colours) into SETTINGS.outputFolder, each whole or not at all
%   (batch_atomic); NAMES lists them, relative to that folder (N x 1).

saved = struct('file', file);
names = {[stem settings.outputSuffixes.mat]};
if settings.vesk
    saved.map = map;
    saved.distribution = distribution;
end
if settings.vesk2
    saved.signedMap = signedMap;
    saved.level = level;
end
prefix = settings.outputPrefix;
batch_atomic([prefix names{1}], saved, '-v7');
if isempty(map) && isempty(signedMap)
    return;  % no pixels to draw
end
kinds = {'vesk', map; 'vesk2', signedMap};
for k = find([settings.vesk, settings.vesk2])
    names{end + 1, 1} = [stem settings.outputSuffixes.(kinds{k, 1})]; %#ok<AGROW>
    [indices, colours] = contrast_colours(kinds{k, 2}, kinds{k, 1});
    batch_atomic([prefix names{end}], @(temporary) imwrite(indices, colours, temporary));
end
end
