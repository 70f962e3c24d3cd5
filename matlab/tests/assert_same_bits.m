## assert_same_bits (ACTUAL, EXPECTED, WHAT): the same class, size and bits,
## element by element (so -0 differs from 0).
function assert_same_bits (actual, expected, what)
  if (nargin < 3)
    what = "result";
  endif
  if (! strcmp (class (actual), "double"))
    error ("%s: class %s, expected double", what, class (actual));
  endif
  if (! isequal (size (actual), size (expected)))
    error ("%s: size %s, expected %s", what, mat2str (size (actual)),
           mat2str (size (expected)));
  endif
  if (isreal (actual) != true)
    error ("%s: complex, expected real", what);
  endif
  differ = find (typecast (actual(:), "uint64") != typecast (expected(:), "uint64"));
  if (! isempty (differ))
    k = differ(1);
    error ("%s: %d elements differ; first at %d: %.17g, expected %.17g", what,
           numel (differ), k, actual(k), expected(k));
  endif
endfunction
