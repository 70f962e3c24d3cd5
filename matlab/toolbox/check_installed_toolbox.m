function check_installed_toolbox(workspace)
%CHECK_INSTALLED_TOOLBOX  In a fresh MATLAB session after matlab.addons.install:
%   the toolbox is installed in its version, Vesk and Vesk2 come from the
%   installed add-on (not from WORKSPACE, where it was built), and
%   vesk_selftest passes.

toolbox = vesk_toolbox_in(workspace);
installed = matlab.addons.installedAddons;
row = strcmp(cellstr(installed.Name), toolbox.name);
if nnz(row) ~= 1 || ~strcmp(char(installed.Version(row)), toolbox.version)
    error('check_installed_toolbox:notInstalled', 'The add-on %s %s is not installed once.', ...
          toolbox.name, toolbox.version);
end
for name = {'Vesk', 'Vesk2'}
    found = which(name{1});
    [~, ~, extension] = fileparts(found);
    if ~strcmp(extension, ['.' mexext]) || strncmp(found, workspace, numel(workspace))
        error('check_installed_toolbox:wrongFunction', '%s is %s, not the installed plug-in.', ...
              name{1}, found);
    end
    fprintf('%s: %s\n', name{1}, found);
end
vesk_selftest;
end

function toolbox = vesk_toolbox_in(workspace)
% The definition of the toolbox built in WORKSPACE's unpacked release.
folders = dir(fullfile(workspace, 'with-macos', 'vesk-*'));
folders = folders([folders.isdir]);
if numel(folders) ~= 1
    error('check_installed_toolbox:noRelease', 'No unpacked release in %s.', ...
          fullfile(workspace, 'with-macos'));
end
toolbox = vesk_toolbox(fullfile(workspace, 'with-macos', folders(1).name));
end
