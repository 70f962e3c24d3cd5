function file = package_vesk_toolbox(releaseFolder, outputFile)
%PACKAGE_VESK_TOOLBOX  Pack the MATLAB toolbox file from a release folder.
%   FILE = package_vesk_toolbox(RELEASEFOLDER, OUTPUTFILE) packs the
%   unpacked release folder RELEASEFOLDER, with the macOS plug-ins added
%   (tools/ci/add-macos-plugins.sh), into the toolbox file OUTPUTFILE
%   (.mltbx) as vesk_toolbox defines it. Needs MATLAB R2023a or later
%   (matlab.addons.toolbox.ToolboxOptions).

toolbox = vesk_toolbox(releaseFolder);
if ~isempty(toolbox.missing)
    error('package_vesk_toolbox:missingPlugins', ...
          'package_vesk_toolbox: %s lacks %s; add them with tools/ci/add-macos-plugins.sh.', ...
          releaseFolder, strjoin(toolbox.missing, ', '));
end

options = matlab.addons.toolbox.ToolboxOptions(releaseFolder, toolbox.identifier);
options.ToolboxName = toolbox.name;
options.ToolboxVersion = toolbox.version;
options.Summary = toolbox.summary;
options.Description = toolbox.description;
options.AuthorName = toolbox.author;
options.ToolboxFiles = fullfile(releaseFolder, toolbox.files);
% The functions are at the top of the folder: only it goes on the path
% (private/ is found from there; data/ and src/ hold no functions).
options.ToolboxMatlabPath = {releaseFolder};
options.ToolboxGettingStartedGuide = fullfile(releaseFolder, toolbox.gettingStarted);
options.MinimumMatlabRelease = toolbox.minimumRelease;
options.MaximumMatlabRelease = '';
platforms = options.SupportedPlatforms;
for name = fieldnames(platforms)'
    platforms.(name{1}) = any(strcmp(name{1}, toolbox.platforms));
end
options.SupportedPlatforms = platforms;
options.OutputFile = outputFile;

for name = toolbox.functions
    if ~any(strcmp(toolbox.files, [name{1} '.m']))
        error('package_vesk_toolbox:missingFunction', 'package_vesk_toolbox: %s lacks %s.m.', ...
              releaseFolder, name{1});
    end
end
matlab.addons.toolbox.packageToolbox(options);
file = char(options.OutputFile);
fprintf('package_vesk_toolbox: %s, %s %s, %d files\n', file, toolbox.name, toolbox.version, ...
        numel(toolbox.files));
end
