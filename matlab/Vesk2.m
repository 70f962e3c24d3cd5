%VESK2  Signed global grey-level contrast map of a greyscale image.
%   [SMAP, LEVEL] = VESK2(IMG) takes a real double matrix of intensities 0..1
%   and returns the signed contrast map SMAP (same size, values -1..1) and the
%   least-contrast level LEVEL (0..1). See README.md.
%
%   Placeholder help text; the full help file replaces it.
