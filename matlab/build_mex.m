function build_mex(outputFolder)
%BUILD_MEX  Compile the Vesk and Vesk2 plug-ins with the mex command.
%   build_mex compiles both plug-ins into the folder of this file, beside
%   their help files Vesk.m and Vesk2.m, for the host it runs in: MATLAB
%   (Vesk.mexa64, Vesk.mexw64, ...) or GNU Octave (Vesk.mex).
%   build_mex(FOLDER) puts them into FOLDER instead.
%
%   Needs a C++ compiler that mex can use: in MATLAB, see mex -setup C++;
%   in Octave, the package octave-dev (Debian, Ubuntu).
%
%   Example:
%     build_mex
%     [map, dist] = Vesk(double(imread('camera.png')));
%
%   See also VESK, VESK2, MEX.

here = fileparts(mfilename('fullpath'));
root = fileparts(here);
if nargin < 1
    outputFolder = here;
end
if ~exist(outputFolder, 'dir')
    mkdir(outputFolder);
end

shared = {fullfile(root, 'core', 'contrast_table.cpp'), ...
          fullfile(root, 'host', 'contrast_gateway.cpp')};
% name, folder under plugins/, own sources
plugins = {'Vesk',  'vesk',  {'vesk_mex.cpp', 'absolute_contrast.cpp'}; ...
           'Vesk2', 'vesk2', {'vesk2_mex.cpp', 'signed_contrast.cpp'}};
isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;

for k = 1:size(plugins, 1)
    name = plugins{k, 1};
    pluginFolder = fullfile(root, 'plugins', plugins{k, 2});
    sources = [fullfile(pluginFolder, plugins{k, 3}), shared];
    % VESK_HOST_SDK: the plug-ins include the host's own mex.h.
    flags = {'-DVESK_HOST_SDK', ['-I' fullfile(root, 'core')], ...
             ['-I' fullfile(root, 'host')], ['-I' pluginFolder]};
    if isOctave
        output = {'-o', fullfile(outputFolder, [name '.mex'])};
    else
        output = {'-outdir', outputFolder, '-output', name};
    end
    fprintf('Building %s in %s\n', name, outputFolder);
    mex(flags{:}, output{:}, sources{:});
end
end
