function folder = vesk_release_folder()
%VESK_RELEASE_FOLDER  The unpacked release folder the MATLAB suite tests.
%   FOLDER = vesk_release_folder() is VESK_RELEASE_DIR, which
%   tools/ci/unpack-release.sh sets on the hosted runners.

folder = getenv('VESK_RELEASE_DIR');
if isempty(folder) || ~exist(folder, 'dir')
    error('vesk_release_folder:missing', ...
          'Set VESK_RELEASE_DIR to the unpacked release folder (tools/ci/unpack-release.sh); it is ''%s''.', ...
          folder);
end
end
