function toolbox = vesk_toolbox(releaseFolder)
%VESK_TOOLBOX  The one definition of the MATLAB toolbox file (.mltbx).
%   TOOLBOX = vesk_toolbox(RELEASEFOLDER) describes the toolbox made from
%   the unpacked release folder RELEASEFOLDER (vesk-<version>, with the
%   macOS plug-ins added): a struct with
%     name, identifier, version, summary, description, author
%     minimumRelease  the oldest MATLAB release it supports
%     platforms       the SupportedPlatforms flags it sets
%     functions       the functions it puts on the path
%     gettingStarted  the example opened after installation
%     files           every file it holds, relative to RELEASEFOLDER with /
%                     (the release folder's files, less the Octave package)
%     missing         the plug-ins it must hold that RELEASEFOLDER lacks
%   package_vesk_toolbox packs it; runs in Octave too, for the tests here.

% The folder's own name, vesk-<version>: fileparts would take .0 for an extension.
[~, folderName, afterDot] = fileparts(regexprep(releaseFolder, '[\\/]+$', ''));
folderName = [folderName afterDot];
version = regexp(folderName, '^vesk-(\d+\.\d+\.\d+)$', 'tokens', 'once');
if isempty(version)
    error('vesk_toolbox:notRelease', 'vesk_toolbox: %s is not an unpacked release folder vesk-<version>.', ...
          releaseFolder);
end

toolbox.name = 'Vesk';
% Fixed for the life of the toolbox: MATLAB tells its versions apart by it.
toolbox.identifier = '7f3c2a5e-91d4-4b8e-a6f0-3d5b9c1e2f47';
toolbox.version = version{1};
toolbox.summary = 'Global grey-level contrast maps of greyscale images (compiled Vesk and Vesk2)';
toolbox.description = ['Vesk gives every element of an image of grey levels 0..255 the ' ...
                       'normalised contrast of its grey level and a 101-bin contrast ' ...
                       'distribution; Vesk2 gives an image of intensities 0..1 a signed ' ...
                       'contrast map and its least-contrast level. vesk_selftest checks both ' ...
                       'on this machine, vesk_batch runs them over many image files, vesk_demo ' ...
                       'draws the figures of the photographs shipped with it.'];
toolbox.author = 'The Vesk developers';
% The oldest release MathWorks' setup-matlab action offers on the hosted
% runners, where the suite runs (Apple silicon natively from R2023b).
toolbox.minimumRelease = 'R2021a';
% Every platform MATLAB runs on has its plug-ins in the toolbox; newer
% releases may add flags (Apple silicon), set where they exist.
toolbox.platforms = {'Win64', 'Glnxa64', 'Maci64', 'MatlabOnline', 'Maca64', 'Macarm64'};
toolbox.functions = {'Vesk', 'Vesk2', 'vesk_selftest', 'vesk_batch', 'vesk_batch_merge', ...
                     'vesk_demo', 'build_mex'};
toolbox.gettingStarted = 'vesk_demo.m';

% The Octave package is for Octave's pkg, not for MATLAB.
excluded = '^vesk-[^/]*\.tar\.gz$';
files = filesUnder(releaseFolder, '');
toolbox.files = sort(files(cellfun('isempty', regexp(files, excluded, 'once'))));

toolbox.missing = {};
for extension = {'mexw64', 'mexa64', 'mexmaci64', 'mexmaca64'}
    for name = {'Vesk', 'Vesk2'}
        plugin = [name{1} '.' extension{1}];
        if ~any(strcmp(toolbox.files, plugin))
            toolbox.missing{end + 1} = plugin;
        end
    end
end
end

function files = filesUnder(folder, prefix)
% The files under FOLDER, as paths relative to it joined by '/' after PREFIX.
files = {};
entries = dir(folder);
for k = 1:numel(entries)
    name = entries(k).name;
    if entries(k).isdir
        if ~any(strcmp(name, {'.', '..'}))
            files = [files, filesUnder(fullfile(folder, name), [prefix name '/'])]; %#ok<AGROW>
        end
    else
        files{end + 1} = [prefix name]; %#ok<AGROW>
    end
end
end
