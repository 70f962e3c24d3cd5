function message = not_compiled_message(name, folder, isOctave)
%NOT_COMPILED_MESSAGE  Why the help file NAME.m ran instead of the plug-in.
%   MESSAGE = not_compiled_message(NAME, FOLDER) says which compiled NAME
%   was looked for beside the help file in FOLDER and what to do about it,
%   for the host this runs in. NAME.m holds help text only, and the host
%   runs it only when no compiled NAME it can load comes first.
%   not_compiled_message(NAME, FOLDER, ISOCTAVE) picks the host's advice.

if nargin < 3
    isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
end
helpFile = fullfile(folder, [name '.m']);

if isOctave
    % Octave loads NAME.oct or NAME.mex, never MATLAB's NAME.mexa64 or NAME.mexw64.
    message = sprintf('No compiled %s for Octave: %s holds its help text only, and there is no %s.oct or %s.mex beside it.', ...
                      name, helpFile, name, name);
    matlabPlugins = dir(fullfile(folder, [name '.mexw64']));
    matlabPlugins = [dir(fullfile(folder, [name '.mexa64'])); matlabPlugins];
    if ~isempty(matlabPlugins)
        message = sprintf('%s Octave cannot load the MATLAB plug-ins there (%s).', ...
                          message, strjoin({matlabPlugins.name}, ', '));
    end
    packages = dir(fullfile(folder, 'vesk-*.tar.gz'));
    if isempty(packages)
        package = 'vesk-<version>.tar.gz (the Octave package in the release archive)';
    else
        package = ['''' fullfile(folder, packages(end).name) ''''];
    end
    message = sprintf(['%s Octave needs the vesk package: install it once with ' ...
                       'pkg install %s (pkg compiles it with mkoctfile: Debian and Ubuntu ' ...
                       'package octave-dev), then pkg load vesk, with this folder off the ' ...
                       'path (rmpath(''%s'')) so that its help file does not come first.'], ...
                      message, package, folder);
else
    message = sprintf(['No compiled %s for this MATLAB (%s): looked for %s.%s beside its ' ...
                       'help text %s. The release holds plug-ins for 64-bit Windows (.mexw64) ' ...
                       'and Linux (.mexa64) only. On another platform compile them: run ' ...
                       'build_mex in that folder (it needs a C++ compiler set up for mex: ' ...
                       'mex -setup C++).'], ...
                      name, computer, name, mexext, helpFile);
end
end
