function record = batch_record(file, settings)
%BATCH_RECORD  One row of vesk_batch's results, before its image is processed.
%   RECORD = batch_record(FILE, SETTINGS): the fields every row has, empty,
%   with map and signedMap when SETTINGS.returnMaps and outputFiles when
%   SETTINGS.outputFolder is set.

record = struct('file', file, 'distribution', [], 'level', [], 'size', [], 'class', '', ...
                'errorIdentifier', '', 'errorMessage', '');
if settings.returnMaps
    record.map = [];
    record.signedMap = [];
end
if ~isempty(settings.outputFolder)
    record.outputFiles = {};
end
end
