## CLASSES = refused_integer_classes (): the integer classes both plug-ins
## refuse, one row each: the class; the conversion Vesk's refusal advises
## and Vesk2's; whether that conversion of the class's whole range gives
## exactly the levels 0..255 (Vesk) or the intensities of those levels
## (Vesk2), so that its call equals the call on them. The one list of refused
## integer classes the suites use (refused_calls.m, rejection_suite.m,
## build_mex_suite.m, package_suite.m, batch_suite.m).
function classes = refused_integer_classes ()
  classes = {
    "int8",   "Vesk(double(img) + 128)",                          "Vesk2((double(img) + 128) / 255)",         true,  true
    "int32",  "Vesk((double(img) + 2^31) / 16843009)",            "Vesk2((double(img) + 2^31) / (2^32 - 1))", true,  false
    "uint32", "Vesk(double(img) / 16843009)",                     "Vesk2(double(img) / (2^32 - 1))",          true,  true
    "int64",  "Vesk((double(img) + 2^63) / 72340172838076673)",   "Vesk2((double(img) + 2^63) / (2^64 - 1))", false, false
    "uint64", "Vesk(double(img) / 72340172838076673)",            "Vesk2(double(img) / (2^64 - 1))",          false, false
  };
endfunction
