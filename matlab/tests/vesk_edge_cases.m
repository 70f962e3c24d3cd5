## CASES = vesk_edge_cases (): Vesk's edge cases, one row each: an image of
## grey levels and what it is. Run by vesk_suite and native_suite.
function cases = vesk_edge_cases ()
  cases = {
    [10.9 10.2 -0.5 3],                          "fractions truncate toward zero"
    [256 -1 1e300 NaN Inf -Inf 2^31 2^31-1 255.9 4], "values outside 0..255"
    -0 * ones(2, 2),                            "negative zero"
    [0 0 0 0 255],                               "one rare bright element"
    zeros(0, 0),                                "empty"
    zeros(0, 7),                                "no rows"
    zeros(7, 0),                                "no columns"
    reshape(0:255, 16, 16),                     "every level once"
    reshape(0:255, 16, 16)',                    "every level once, transposed"
    magic(4) * 15,                              "a 4 x 4 magic square"
  };
endfunction
