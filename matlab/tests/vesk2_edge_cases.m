## CASES = vesk2_edge_cases (): Vesk2's edge cases, one row each: an image of
## intensities and what it is. Run by vesk2_suite and native_suite.
function cases = vesk2_edge_cases ()
  cases = {
    [0.999 1.5 -0.2 0.5],                          "quantisation and clamping"
    [NaN Inf -Inf 1e10 2^31/255 (2^31-1)/255 1 0.3], "values outside 0..1"
    -0 * ones(2, 2),                              "negative zero"
    [0 0 0 0 1],                                   "one rare bright element"
    [1 1 1 1 0],                                   "one rare dark element"
    zeros(0, 0),                                  "empty"
    zeros(0, 7),                                  "no rows"
    zeros(7, 0),                                  "no columns"
    reshape(0:255, 16, 16) / 255,                 "every level once"
  };
endfunction
