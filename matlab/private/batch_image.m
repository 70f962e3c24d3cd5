function record = batch_image(file, stem, settings)
%BATCH_IMAGE  One image of vesk_batch: read, made grey, measured, written.
%   RECORD = batch_image(FILE, STEM, SETTINGS) gives the image's row of the
%   results; whatever goes wrong is recorded in the row (errorIdentifier,
%   errorMessage) instead of stopping the batch. STEM names its outputs in
%   SETTINGS.outputFolder.

record = settings.row;  % batch_record's, made once per batch
record.file = file;
if ~isempty(settings.warnings)
    batch_warnings('take', settings.warnings);
end
toFolder = ~isempty(settings.outputFolder);
if toFolder
    stamp = batch_outputs('stamp', settings, file);  % before reading: a later change shows
end
try
    if isempty(settings.reader)
        [img, colours] = imread(file);
    else
        img = settings.reader(file);
        colours = [];
    end
catch err
    record = failed(record, 'vesk_batch:unreadable', sprintf(['Could not read %s: %s ' ...
                    '(check that the file exists and is an image the reader knows).'], ...
                    file, err.message));
    return;
end
record.size = size(img);
record.class = class(img);

if isempty(colours) && size(img, 3) == 1
    grey = img;
else
    try
        grey = batch_grey(img, colours, settings.hostRgb2gray);
    catch err
        record = failed(record, 'vesk_batch:notGrey', sprintf(['Could not make a grey ' ...
                        'image of %s (%s %s): %s'], file, mat2str(size(img)), class(img), ...
                        err.message));
        return;
    end
end
img = [];  % its memory goes now, not when the row is done

map = [];
distribution = [];
signedMap = [];
level = [];
try
    if settings.vesk
        [map, distribution] = Vesk(grey);
        if ~toFolder && ~settings.returnMaps
            map = [];  % Vesk2's map then takes its memory, already touched, not fresh pages
        end
    end
    if settings.vesk2
        [signedMap, level] = Vesk2(grey);
    end
catch err
    identifier = err.identifier;
    if isempty(identifier)
        identifier = 'vesk_batch:failed';
    end
    record = failed(record, identifier, err.message);
    return;
end
grey = [];

record.distribution = distribution;
record.level = level;
if toFolder
    try
        names = batch_write_maps(settings, stem, file, map, distribution, signedMap, level);
        if ~isempty(stamp)
            batch_outputs('done', settings, file, stem, stamp, record, names);  % last
        end
        record.outputFiles = batch_outputs('paths', settings, names);
    catch err
        record.distribution = [];
        record.level = [];
        record = failed(record, 'vesk_batch:writeFailed', sprintf(['Could not write the ' ...
                        'maps of %s to %s: %s'], file, settings.outputFolder, err.message));
        return;
    end
end
if settings.returnMaps
    record.map = map;
    record.signedMap = signedMap;
end
end

function record = failed(record, identifier, message)
record.errorIdentifier = identifier;
record.errorMessage = message;
end
