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
%   It compiles the sources of the project, or of the release archive
%   (its src/ folder), that this file belongs to.
%
%   Example:
%     build_mex
%     vesk_selftest
%
%   See also VESK, VESK2, VESK_SELFTEST, MEX.

here = fileparts(mfilename('fullpath'));
% The project's files: src/ beside this file in the release, one folder up
% in the source tree.
root = fullfile(here, 'src');
if ~exist(root, 'dir')
    root = fileparts(here);
end
if nargin < 1
    outputFolder = here;
end
if ~exist(outputFolder, 'dir')
    mkdir(outputFolder);
end

% The plug-ins' sources, from the project's one list of them.
lists = read_source_lists(fullfile(root, 'cmake', 'VeskPluginSources.cmake'));
shared = [lists.VESK_CORE_SOURCES, lists.VESK_HOST_SOURCES];
includes = strcat('-I', fullfile(root, lists.VESK_INCLUDE_DIRS));
% name (also its lists' prefix), folder under plugins/
plugins = {'Vesk',  'vesk'; ...
           'Vesk2', 'vesk2'};
isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;

for k = 1:size(plugins, 1)
    name = plugins{k, 1};
    pluginFolder = fullfile(root, 'plugins', plugins{k, 2});
    own = [lists.([name '_ENTRY_SOURCES']), lists.([name '_KERNEL_SOURCES'])];
    sources = fullfile(root, [own, shared]);
    % VESK_HOST_SDK: the plug-ins include the host's own mex.h.
    flags = [{'-DVESK_HOST_SDK'}, includes, {['-I' pluginFolder]}];
    if isOctave
        output = {'-o', fullfile(outputFolder, [name '.mex'])};
    else
        output = {'-outdir', outputFolder, '-output', name};
        if ~ispc
            % The sources are C++17; the mex options of older releases on
            % macOS and Linux ask for C++11, and the last -std counts.
            output{end + 1} = 'CXXFLAGS=$CXXFLAGS -std=c++17'; %#ok<AGROW>
        end
    end
    fprintf('Building %s in %s\n', name, outputFolder);
    mex(flags{:}, output{:}, sources{:});
end
end

function lists = read_source_lists(file)
% The set(NAME item item ...) lines of the CMake source list, as a struct of
% cell arrays of paths relative to the project root.
text = fileread(file);
lists = struct();
tokens = regexp(text, '^\s*set\((\w+)([^)]*)\)', 'tokens', 'lineanchors');
for k = 1:numel(tokens)
    items = regexp(strtrim(tokens{k}{2}), '\s+', 'split');
    items = items(~cellfun('isempty', items));
    lists.(tokens{k}{1}) = strrep(items, '/', filesep);
end
end
