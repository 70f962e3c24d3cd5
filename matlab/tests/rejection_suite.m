## Every rejection of both plug-ins, by identifier and advice, and Octave's
## state after each: it goes on working and the next call is correct.
## Run with run_suite ("rejection_suite.m").

%!function check_rejection (call, name, reason, advice)
%!  F = str2func (name);
%!  try
%!    eval (call);
%!  catch err
%!    if (! strcmp (err.identifier, [name ":" reason]))
%!      error ("%s (%s): identifier %s, expected %s:%s", call, name, err.identifier, name, reason);
%!    endif
%!    assert (! isempty (strfind (err.message, advice)),
%!            "%s: message \"%s\" lacks \"%s\"", call, err.message, advice);
%!    return;
%!  end_try_catch
%!  error ("%s (%s) was not rejected", call, name);
%!endfunction

%!function check_next_call (name)
%!  img = [0 0 0 2 3; 1 1 250 9 9];
%!  if (strcmp (name, "Vesk"))
%!    [map, dist] = Vesk (img);
%!    [want_map, want_dist] = reference_vesk (img);
%!    assert_same_bits (dist, want_dist, "dist after an error");
%!  else
%!    [map, level] = Vesk2 (img / 255);
%!    [want_map, want_level] = reference_vesk2 (img / 255);
%!    assert_same_bits (level, want_level, "level after an error");
%!  endif
%!  assert_same_bits (map, want_map, "map after an error");
%!endfunction

## The refused calls: refused_calls.m.
%!shared cases
%! pkg load image  # im2uint16, im2int16, im2single
%! cases = refused_calls ();

%!test
%! for k = 1:rows (cases)
%!   check_rejection (cases{k, 1}, "Vesk", cases{k, 2}, cases{k, 3});
%!   check_next_call ("Vesk");
%! endfor
%!test
%! for k = 1:rows (cases)
%!   check_rejection (cases{k, 1}, "Vesk2", cases{k, 2}, cases{k, 3});
%!   check_next_call ("Vesk2");
%! endfor

## The advice of each refusal works for the image's class: the call it
## proposes, run as written, succeeds, and for an integer class it maps the
## class's whole range onto the plug-in's.
%!function check_advice_works (name, img, advice, want)
%!  F = str2func (name);
%!  try
%!    F (img);
%!  catch err
%!    assert (! isempty (strfind (err.message, advice)),
%!            "%s (%s): message \"%s\" lacks \"%s\"", name, class (img), err.message, advice);
%!    [map, second] = eval (advice);
%!    if (! isempty (want))
%!      [want_map, want_second] = F (want);
%!      assert_same_bits (map, want_map, [advice " map"]);
%!      assert_same_bits (second, want_second, [advice " second output"]);
%!    endif
%!    return;
%!  end_try_catch
%!  error ("%s (%s) was not rejected", name, class (img));
%!endfunction

%!test
%! levels = 0:255;
%! full_range = @(cls) cast (double (intmin (cls)) + levels / 255 * (double (intmax (cls)) - double (intmin (cls))), cls);
%! refused = refused_integer_classes ();
%! for k = 1:rows (refused)
%!   img = full_range (refused{k, 1});
%!   want = {[], []};
%!   if (refused{k, 4})
%!     want{1} = levels;
%!   endif
%!   if (refused{k, 5})
%!     want{2} = levels / 255;
%!   endif
%!   check_advice_works ("Vesk", img, refused{k, 2}, want{1});
%!   check_advice_works ("Vesk2", img, refused{k, 3}, want{2});
%! endfor
%!test
%! rgb = photograph ("astronaut.png");
%! for name = {"Vesk", "Vesk2"}
%!   F = name{1};
%!   check_advice_works (F, rgb, [F "(rgb2gray(img))"], rgb2gray (rgb));
%!   check_advice_works (F, im2uint16 (rgb), [F "(rgb2gray(img))"], []);
%!   check_advice_works (F, im2single (rgb), [F "(rgb2gray(img))"], []);
%!   check_advice_works (F, im2int16 (rgb), [F "(rgb2gray(im2uint16(img)))"], []);
%!   check_advice_works (F, rgb > 100, [F "(any(img, 3))"], any (rgb > 100, 3));
%!   check_advice_works (F, rgb > 100, [F "(img(:,:,1))"], rgb(:,:,1) > 100);
%! endfor

## Octave's own error machinery is intact afterwards: a plain error still
## carries its identifier, and try/catch nesting still works.
%!test
%! check_rejection ("F (int8 (1));", "Vesk", "unsupportedClass", "double(img)");
%! try
%!   error ("Caller:own", "the caller's own error");
%! catch err
%!   assert (err.identifier, "Caller:own");
%! end_try_catch
%! check_next_call ("Vesk");

## Nothing is held after a call: neither what a rejected call touched nor the
## scratch and unreturned outputs of calls that ask for one output.
%!testif ; exist ("/proc/self/status", "file")
%! img = rand (1000) * 255;
%! for warm = 1:3
%!   map = Vesk (img);  smap = Vesk2 (img / 255);
%! endfor
%! refused = refused_integer_classes ();
%! refused = refused{1, 1};
%! before = resident_kilobytes ();
%! for k = 1:5000
%!   try
%!     Vesk (cast (img(1:10, 1:10), refused));
%!   catch
%!   end_try_catch
%! endfor
%! for k = 1:150
%!   map = Vesk (img);          # 12 MB of scratch and outputs per call
%!   smap = Vesk2 (img / 255);  # its scratch is left to the host
%! endfor
%! growth = resident_kilobytes () - before;
%! assert (growth < 100 * 1024, "resident size grew by %d kB", growth);
%! check_next_call ("Vesk");
%! check_next_call ("Vesk2");
