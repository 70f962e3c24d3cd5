function files = batch_write_maps(settings, stem, file, map, distribution, signedMap, level)
%BATCH_WRITE_MAPS  One image's outputs in vesk_batch's OutputFolder.
%   FILES = batch_write_maps(SETTINGS, STEM, FILE, MAP, DISTRIBUTION,
%   SIGNEDMAP, LEVEL) writes STEM.mat and the PNG images of the maps
%   (contrast_colours) into SETTINGS.outputFolder; FILES lists them.

saved = struct('file', file);
files = {fullfile(settings.outputFolder, [stem '.mat'])};
if settings.vesk
    saved.map = map;
    saved.distribution = distribution;
end
if settings.vesk2
    saved.signedMap = signedMap;
    saved.level = level;
end
save(files{1}, '-struct', 'saved', '-v7');
if isempty(map) && isempty(signedMap)
    return;  % no pixels to draw
end
if settings.vesk
    files{end + 1} = fullfile(settings.outputFolder, [stem '_vesk.png']);
    [indices, colours] = contrast_colours(map, 'vesk');
    imwrite(indices, colours, files{end});
end
if settings.vesk2
    files{end + 1} = fullfile(settings.outputFolder, [stem '_vesk2.png']);
    [indices, colours] = contrast_colours(signedMap, 'vesk2');
    imwrite(indices, colours, files{end});
end
end
