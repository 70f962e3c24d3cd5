## assert_same_rows (ACTUAL, EXPECTED, WHAT): two arrays of vesk_batch rows
## are the same: the same size and fields, the same text, and the numbers
## (distribution, level, maps) the same bits. FIELDS, if given, names the
## fields compared (default: all of EXPECTED's).
function assert_same_rows (actual, expected, what, fields)
  if (nargin < 4)
    fields = fieldnames (expected);
  endif
  assert (isequal (size (actual), size (expected)), "%s: %s rows, expected %s", what,
          mat2str (size (actual)), mat2str (size (expected)));
  numeric = {"distribution", "level", "map", "signedMap"};
  for k = 1:numel (expected)
    at = sprintf ("%s, row %d (%s)", what, k, expected(k).file);
    for f = reshape (fields, 1, [])
      name = f{1};
      if (any (strcmp (name, numeric)))
        assert_same_bits (actual(k).(name), expected(k).(name), [at " " name]);
      else
        assert (isequal (actual(k).(name), expected(k).(name)), "%s: %s differs", at, name);
      endif
    endfor
  endfor
endfunction
