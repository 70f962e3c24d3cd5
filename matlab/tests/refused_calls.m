## CASES = refused_calls (): every refused call, one row each: the call (F
## is the function), the identifier's reason, a piece of the advice the
## message must give. Run by rejection_suite and native_suite.
function cases = refused_calls ()
  cases = {
    "F ();",                                   "nargin",    "exactly one input"
    "F (1, 2);",                               "nargin",    "exactly one input"
    "[a, b, c] = F (1);",                      "nargout",   "at most two outputs"
    "F (photograph ('camera.png'));",          "notDouble", "class uint8"
    "F (photograph ('astronaut.png'));",       "notDouble", "class uint8"
    "F (single (photograph ('camera.png')));", "notDouble", "class single"
    "F (single (complex (1, 1)));",            "notDouble", "class single"
    "F (true (2));",                           "notDouble", "class logical"
    "F (sparse (true (2)));",                  "notDouble", "class logical"
    "F ('abc');",                              "notDouble", "class char"
    "F (int16 ([1 2]));",                      "notDouble", "class int16"
    "F ({1});",                                "notDouble", "class cell"
    "F (struct ('a', 1));",                    "notDouble", "class struct"
    "F (@sin);",                               "notDouble", "class function_handle"
    "F (sparse (eye (3)));",                   "sparse",    "full(img)"
    "F (sparse (complex (eye (2), 1)));",      "sparse",    "full(img)"
    "F (complex (ones (2), 1));",              "complex",   "real(img)"
    "F (complex (1, 0));",                     "complex",   "real(img)"
    "F (double (photograph ('astronaut.png')));", "notMatrix", "rgb2gray(img)"
    "F (zeros (2, 2, 2));",                    "notMatrix", "rgb2gray(img)"
    "F (zeros (0, 4, 3));",                    "notMatrix", "3 dimensions"
    "F (zeros (0, 2^31));",                    "tooLarge",  "0 x 2147483648"
    "F (zeros (2^31, 0));",                    "tooLarge",  "2147483648 x 0"
    "F (zeros (0, 2^62));",                    "tooLarge",  "0 x 4611686018427387904"
  };
endfunction
