function files = vesk_demo(dataFolder, outputFolder)
%VESK_DEMO  Contrast figures of photographs, on screen or as PNG files.
%   vesk_demo draws, for each photograph shipped with it, a figure with the
%   photograph, its Vesk contrast map, its Vesk2 signed contrast map and
%   the Vesk contrast distribution.
%   vesk_demo(DATAFOLDER) does the same for every *.png in DATAFOLDER
%   (colour ones converted with rgb2gray).
%   FILES = vesk_demo(DATAFOLDER, OUTPUTFOLDER) writes the figures as
%   OUTPUTFOLDER/<name>_contrast.png instead, and lists the files written.
%   It needs no display (invisible figures). DATAFOLDER '' or [] means the
%   shipped photographs.
%
%   Error: vesk_demo:noPhotographs when DATAFOLDER holds no *.png.
%
%   Example:
%     vesk_demo
%     files = vesk_demo('', tempdir)
%
%   See also VESK, VESK2.

if nargin < 1 || isempty(dataFolder)
    dataFolder = shippedPhotographs();
end
toFiles = nargin >= 2;
if toFiles && ~exist(outputFolder, 'dir')
    mkdir(outputFolder);
end
photos = dir(fullfile(dataFolder, '*.png'));
if isempty(photos)
    error('vesk_demo:noPhotographs', 'vesk_demo: no *.png photographs in %s.', dataFolder);
end
files = {};
for k = 1:numel(photos)
    [~, name] = fileparts(photos(k).name);
    img = readGrey(fullfile(dataFolder, photos(k).name));
    if toFiles
        file = fullfile(outputFolder, [name '_contrast.png']);
        drawFigure(img, photos(k).name, file);
        files{end + 1} = file; %#ok<AGROW>
        fprintf('%s\n', file);
    else
        drawFigure(img, photos(k).name, '');
    end
end
end

function folder = shippedPhotographs()
% data/ beside this file in the Octave package and the release archive; the
% project's data/ folder in the source tree (this file in matlab/) and in a
% build's folders (build/octave-native and the like).
here = fileparts(mfilename('fullpath'));
folder = fullfile(here, 'data');
if ~exist(folder, 'dir')
    folder = fullfile(fileparts(here), 'data');
end
end

function img = readGrey(file)
% The photograph as 8-bit grey levels (uint8).
state = warning('off', 'all');  % a colour profile may draw a harmless warning
img = imread(file);
warning(state);
if ndims(img) == 3
    img = rgb2gray(img);
end
end

function drawFigure(img, title_, file)
% Into FILE with an invisible figure, or on screen when FILE is ''.
grey = double(img);
[map, dist] = Vesk(grey);
[smap, level] = Vesk2(grey / 255);

if isempty(file)
    figure('position', [0 0 1500 1000], 'name', title_);
else
    figureHandle = figure('visible', 'off', 'position', [0 0 1500 1000]);
    cleanup = onCleanup(@() close(figureHandle));
end

% Each panel is drawn as a true-colour image, so that every panel keeps
% its own colour map whatever the graphics toolkit; the colour bars are
% drawn the same way.
subplot(2, 3, 1);
image(repmat(grey / 255, [1 1 3]));
axis image off;
title(sprintf('%s (%d x %d)', title_, size(img, 1), size(img, 2)), 'interpreter', 'none');

% The colours of both maps, as vesk_batch writes them too: private/contrast_colours.m.
subplot(2, 3, 2);
[indices, colours, low, high] = contrast_colours(map, 'vesk');
image(toColour(indices, colours));
axis image off;
title(twoLines('Vesk: contrast of each element''s grey level', ...
               'white and yellow: rare grey levels, far from most of the image'));
drawColourBar(colours, low, high);

subplot(2, 3, 3);
[indices, colours, low, high] = contrast_colours(smap, 'vesk2');
image(toColour(indices, colours));
axis image off;
title(twoLines(sprintf('Vesk2: signed contrast about grey level %d', round(level * 255)), ...
               'red: brighter than that level, blue: darker; deeper: rarer'));
drawColourBar(colours, low, high);

subplot(2, 1, 2);
bar(0:99, dist(1:100), 1, 'facecolor', [0.85 0.33 0.1], 'edgecolor', 'none');
xlim([-1 100]);
grid on;
xlabel('contrast of the element''s grey level, % of the largest');
ylabel('elements');
title(twoLines('Vesk contrast distribution: elements per 1% of the largest contrast', ...
               sprintf(['rare grey levels are the tail on the right; least-contrast level %d; ' ...
                        'elements at 100%%, not counted: %d'], ...
                       round(dist(101) * 255), numel(grey) - sum(dist(1:100)))));

if ~isempty(file)
    print(figureHandle, file, '-dpng', '-r100');
end
end

function text = twoLines(first, second)
% A two-line title. Octave's gnuplot toolkit passes a cell array's lines to
% gnuplot unquoted, but turns a written \n into a line break.
if exist('OCTAVE_VERSION', 'builtin') && strcmp(graphics_toolkit(), 'gnuplot')
    text = [first '\n' second];
else
    text = {first, second};
end
end

function rgb = toColour(indices, colours)
% 0-based colour indices as an rows x columns x 3 image through the colour map.
rgb = reshape(colours(double(indices) + 1, :), [size(indices), 3]);
end

function drawColourBar(colours, low, high)
% A vertical colour bar beside the current axes, labelled low..high.
panel = get(gca, 'position');
axes('position', [panel(1) + panel(3) + 0.005, panel(2) + 0.1 * panel(4), 0.012, 0.8 * panel(4)]);
steps = size(colours, 1);
image([0 1], [low high], reshape(colours, [steps 1 3]));
ticks = linspace(low, high, 5);
labels = arrayfun(@(value) sprintf('%.2f', value), ticks, 'uniformoutput', false);
set(gca, 'ydir', 'normal', 'xtick', [], 'yaxislocation', 'right', ...
    'ytick', ticks, 'yticklabel', labels);
end

%!error id=vesk_demo:noPhotographs vesk_demo (tempname ())

% One PNG figure per shipped photograph, drawn without a display (gnuplot).
%!testif ; ! isempty (file_in_path (getenv ("PATH"), "gnuplot"))
%! folder = tempname ();
%! toolkit = graphics_toolkit ();
%! unwind_protect
%!   graphics_toolkit ("gnuplot");
%!   evalc ("files = vesk_demo ('', folder);");
%!   photos = dir (fullfile (fileparts (which ("vesk_demo")), "data", "*.png"));
%!   assert (numel (files), numel (photos));
%!   for k = 1:numel (files)
%!     assert (size (imread (files{k}), 3), 3);
%!   endfor
%! unwind_protect_cleanup
%!   graphics_toolkit (toolkit);
%!   confirm_recursive_rmdir (false, "local");
%!   if (exist (folder, "dir"))
%!     rmdir (folder, "s");
%!   endif
%! end_unwind_protect
