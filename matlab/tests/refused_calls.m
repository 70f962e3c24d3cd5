## CASES = refused_calls (): every refused call, one row each: the call (F
## is the function), the identifier's reason, a piece of the advice the
## message must give; those of the refused integer classes from
## refused_integer_classes.m. Run by rejection_suite and native_suite, which load the
## image package first (im2uint16, im2int16, im2single).
function cases = refused_calls ()
  cases = {
    "F ();",                                   "nargin",    "exactly one input"
    "F (1, 2);",                               "nargin",    "exactly one input"
    "[a, b, c] = F (1);",                      "nargout",   "at most two outputs"
    "F ('abc');",                              "unsupportedClass", "class char"
    "F ({1});",                                "unsupportedClass", "class cell"
    "F (struct ('a', 1));",                    "unsupportedClass", "class struct"
    "F (@sin);",                               "unsupportedClass", "class function_handle"
    "F (photograph ('astronaut.png'));",       "notMatrix", "rgb2gray(img)"
    "F (im2uint16 (photograph ('astronaut.png')));", "notMatrix", "rgb2gray(img)"
    "F (im2single (photograph ('astronaut.png')));", "notMatrix", "rgb2gray(img)"
    "F (im2int16 (photograph ('astronaut.png')));",  "notMatrix", "rgb2gray(im2uint16(img))"
    "F (photograph ('astronaut.png') > 100);", "notMatrix", "any(img, 3)"
    "F (sparse (true (3)));",                  "sparse",    "full(img)"
    "F (complex (single (1), 1));",            "complex",   "real(img)"
    "F (sparse (eye (3)));",                   "sparse",    "full(img)"
    "F (complex (ones (2), 1));",              "complex",   "real(img)"
    "F (complex (1, 0));",                     "complex",   "real(img)"
    "F (double (photograph ('astronaut.png')));", "notMatrix", "rgb2gray(img)"
    "F (zeros (2, 2, 2));",                    "notMatrix", "rgb2gray(img)"
    "F (zeros (0, 2^31));",                    "tooLarge",  "0 x 2147483648"
    "F (zeros (2^31, 0));",                    "tooLarge",  "2147483648 x 0"
    "F (sparse (complex (eye (2), 1)));",      "sparse",    "full(img)"
    "F (zeros (0, 4, 3));",                    "notMatrix", "3 dimensions"
    "F (zeros (0, 2^62));",                    "tooLarge",  "0 x 4611686018427387904"
    "F (zeros (2^31, 0));",                    "tooLarge",  "each tile then gets its own contrast map"
    "F (zeros (0, 2^31));",                    "tooLarge",  "at most 2147483647 (2^31 - 1) elements, each dimension below 2^31"
    "F (containers.Map ());",                  "unsupportedClass", "numeric image matrix"
  };
  ## Every refused integer class: small, photograph-sized and in colour.
  refused = refused_integer_classes ();
  for k = 1:rows (refused)
    cls = refused{k, 1};
    cases(end+1:end+3, :) = {
      sprintf("F (%s ([1 2]));", cls),                          "unsupportedClass", ["class " cls]
      sprintf("F (%s (photograph ('camera.png')));", cls),      "unsupportedClass", ["class " cls]
      sprintf("F (%s (photograph ('astronaut.png')));", cls),   "unsupportedClass", "more than two dimensions"};
  endfor
endfunction
