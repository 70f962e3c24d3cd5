%VESK  Global grey-level contrast map of a greyscale image.
%   [MAP, DIST] = VESK(IMG) takes a real double matrix of grey levels 0..255
%   and returns the contrast map MAP (same size, values 0..1) and the
%   101-by-1 contrast distribution DIST. See README.md.
%
%   Placeholder help text; the full help file replaces it.
