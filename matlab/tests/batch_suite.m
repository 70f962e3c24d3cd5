## vesk_batch over a folder made from the bundled photographs: the same bits
## as a plain loop a user would write, with 1 and 2 workers; failures
## recorded; maps on disk equal to the returned ones; flat memory.
## Run with run_suite ("batch_suite.m").

## A folder of images as users have them: several sizes, grey and colour,
## uint8, uint16, 1-bit and indexed, and files that must fail.
%!function [folder, files] = make_folder ()
%!  folder = tempname ();
%!  mkdir (folder);
%!  camera = photograph ("camera.png");
%!  astronaut = photograph ("astronaut.png");
%!  ramp = uint16 (mod (reshape (0:256*384-1, 256, 384), 257));
%!  ## Each row: file name and image; indexed images as {indices, colour map}.
%!  images = {
%!    "camera.png",      camera
%!    "astronaut.png",   astronaut
%!    "crop.png",        camera(1:300, 101:300)
%!    "strip.png",       camera(200, 1:37)
%!    "camera16.png",    uint16(camera(1:256, 1:384)) * 257 - ramp
%!    "astronaut16.png", uint16(astronaut(101:300, 1:300, :)) * 257 + ramp(1:200, 1:300)
%!    "mask.png",        camera > 100
%!    "palette.png",     {idivide(camera(1:128, 1:160), uint8(8)), jet(32)}
%!    "cmyk.tif",        cat(3, astronaut, astronaut(:, :, 1))
%!  };
%!  for k = 1:rows (images)
%!    if (iscell (images{k, 2}))
%!      imwrite (images{k, 2}{:}, fullfile (folder, images{k, 1}));
%!    else
%!      imwrite (images{k, 2}, fullfile (folder, images{k, 1}));
%!    endif
%!  endfor
%!  ## The same name with another extension, so that output names clash.
%!  copyfile (fullfile (getenv ("VESK_DATA_DIR"), "camera.pgm"), folder);
%!  bytes = fileread (fullfile (getenv ("VESK_DATA_DIR"), "camera.png"));
%!  write_bytes (fullfile (folder, "corrupt.png"), bytes(1:2000));
%!  write_bytes (fullfile (folder, "notes.png"), "not an image\n");
%!  files = cellfun (@(name) fullfile (folder, name),
%!                   sort ([images(:, 1); {"camera.pgm"; "corrupt.png"; "notes.png"}]),
%!                   "UniformOutput", false);
%!endfunction

%!function write_bytes (file, bytes)
%!  handle = fopen (file, "w");
%!  fwrite (handle, bytes);
%!  fclose (handle);
%!endfunction

## The loop a user would write: read, make grey, call both plug-ins, note
## what went wrong. READER as vesk_batch's option ([] for imread).
%!function want = plain_loop (files, reader)
%!  want = struct ("file", files, "distribution", [], "level", [], "size", [], "class", "",
%!                 "errorIdentifier", "", "errorMessage", "", "map", [], "signedMap", []);
%!  for k = 1:numel (files)
%!    try
%!      if (isempty (reader))
%!        [img, colours] = imread (files{k});
%!      else
%!        img = reader (files{k});
%!        colours = [];
%!      endif
%!    catch
%!      want(k).errorIdentifier = "vesk_batch:unreadable";
%!      continue;
%!    end_try_catch
%!    want(k).size = size (img);
%!    want(k).class = class (img);
%!    if (! isempty (colours))
%!      ## Indexed: the grey of each colour, in the class of the indices.
%!      grey_colours = rgb2gray (colours);
%!      top = double (intmax (class (img)));
%!      img = cast (grey_colours(double (img) + 1) * top, class (img));
%!    elseif (size (img, 3) == 3)
%!      img = rgb2gray (img);
%!    endif
%!    try
%!      [map, dist] = Vesk (img);
%!      [smap, level] = Vesk2 (img);
%!      [want(k).map, want(k).distribution, want(k).signedMap, want(k).level] = deal (map, dist, smap, level);
%!    catch err
%!      want(k).errorIdentifier = err.identifier;
%!      want(k).errorMessage = err.message;
%!    end_try_catch
%!  endfor
%!endfunction

## RESULTS equal WANT: the same files in the same order, the same bits,
## the same failures.
%!function check_results (results, want, what)
%!  assert (isequal (size (results), [numel(want), 1]), "%s: %s results", what, mat2str (size (results)));
%!  for k = 1:numel (want)
%!    r = results(k);
%!    w = want(k);
%!    at = sprintf ("%s, %s", what, w.file);
%!    for field = {"file", "errorIdentifier", "size", "class"}
%!      assert (isequal (r.(field{1}), w.(field{1})), "%s: %s is %s, expected %s", at,
%!              field{1}, disp (r.(field{1})), disp (w.(field{1})));
%!    endfor
%!    if (isempty (w.errorIdentifier))
%!      assert (isempty (r.errorMessage), at);
%!      assert_same_bits (r.distribution, w.distribution, [at " distribution"]);
%!      assert_same_bits (r.level, w.level, [at " level"]);
%!      if (isfield (r, "map"))
%!        assert_same_bits (r.map, w.map, [at " map"]);
%!        assert_same_bits (r.signedMap, w.signedMap, [at " signedMap"]);
%!      endif
%!    else
%!      assert (isempty (r.distribution) && isempty (r.level), at);
%!      assert (! isempty (r.errorMessage), at);
%!      if (! strncmp (w.errorIdentifier, "vesk_batch:", 11))
%!        assert (strcmp (r.errorMessage, w.errorMessage), at);  # the plug-in's own refusal
%!      endif
%!    endif
%!  endfor
%!endfunction

%!shared folder, files, want, deep
%! warning ("off", "all");  # astronaut.png's colour profile, ind2gray's padding
%! [folder, files] = make_folder ();
%! want = plain_loop (files, []);
%! ## Classes imread does not return: through the Reader option, from MAT files.
%! camera = photograph ("camera.png");
%! refused = refused_integer_classes ();
%! refused = refused{end, 1};
%! deep = {fullfile(folder, [refused ".mat"]), cast(camera, refused) * 1000
%!         fullfile(folder, "int8.mat"),  int8(camera / 2)
%!         fullfile(folder, "grey.mat"),  camera(1:100, 1:50)
%!         fullfile(folder, "absent.mat"), []};
%! for k = 1:rows (deep) - 1
%!   img = deep{k, 2};
%!   save ("-v7", deep{k, 1}, "img");
%! endfor

## The folder's files, good and bad, against the plain loop, serially and
## with two workers; the folder-and-pattern form gives the same list.
%!test
%! for workers = [1 2]
%!   results = vesk_batch (files, "Workers", workers, "ReturnMaps", true, "Progress", false);
%!   check_results (results, want, sprintf ("%d workers", workers));
%! endfor
%! ## imread gives a PGM file a grey colour map: the same results as its PNG.
%! [pgm, png] = deal (results(strcmp (files, fullfile (folder, "camera.pgm"))),
%!                    results(strcmp (files, fullfile (folder, "camera.png"))));
%! assert_same_bits (pgm.map, png.map, "camera.pgm");
%! assert_same_bits (pgm.level, png.level, "camera.pgm");
%! results = vesk_batch (folder, {"*.png", "*.pgm", "*.tif"}, "Workers", 2, "Progress", false);
%! check_results (results, want, "folder and pattern");
%! assert (! isfield (results, "map"));
%! ## Without a pattern: the files whose extension imread knows (not the MAT files).
%! assert ({vesk_batch(folder, "Progress", false).file}', files);

## Which files failed, and with what: unreadable files, a 4-channel image;
## every other file went through.
%!test
%! results = vesk_batch ([files; {fullfile(folder, "missing.png")}], "Workers", 2, "Progress", false);
%! [~, names, extensions] = cellfun (@fileparts, {results.file}, "UniformOutput", false);
%! identifiers = cell2struct ({results.errorIdentifier}, strcat (names, strrep (extensions, ".", "_")), 2);
%! assert (identifiers.corrupt_png, "vesk_batch:unreadable");
%! assert (identifiers.notes_png, "vesk_batch:unreadable");
%! assert (identifiers.missing_png, "vesk_batch:unreadable");
%! assert (identifiers.cmyk_tif, "Vesk:notMatrix");
%! assert (! isempty (strfind (results(end).errorMessage, "missing.png")));
%! failed = ! cellfun ("isempty", {results.errorIdentifier});
%! assert (sum (failed), 4);
%! assert (all (cellfun (@numel, {results(! failed).distribution}) == 101));

## Classes the plug-ins refuse, read by a Reader of the user's: the
## plug-in's identifier, with 1 and 2 workers alike.
%!test
%! reader = @(file) getfield (load (file), "img");
%! want_deep = plain_loop (deep(:, 1), reader);
%! assert (want_deep(1).errorIdentifier, "Vesk:unsupportedClass");
%! assert (want_deep(2).errorIdentifier, "Vesk:unsupportedClass");
%! assert (want_deep(3).errorIdentifier, "");
%! assert (want_deep(4).errorIdentifier, "vesk_batch:unreadable");
%! for workers = [1 2]
%!   results = vesk_batch (deep(:, 1), "Reader", reader, "Workers", workers, "Progress", false);
%!   check_results (results, want_deep, sprintf ("Reader, %d workers", workers));
%! endfor

## Maps written to disk read back equal to the returned ones; the PNG
## images hold them scaled as the demo draws them; output names never clash.
%!test
%! output = tempname ();
%! unwind_protect
%!   results = vesk_batch (files, "Workers", 2, "ReturnMaps", true, "Progress", false,
%!                         "OutputFolder", output);
%!   check_results (results, want, "with an output folder");
%!   stems = {};
%!   for k = 1:numel (results)
%!     r = results(k);
%!     if (! isempty (r.errorIdentifier))
%!       assert (r.outputFiles, {});
%!       continue;
%!     endif
%!     assert (numel (r.outputFiles), 3);
%!     saved = load (r.outputFiles{1});
%!     assert (saved.file, r.file);
%!     assert_same_bits (saved.map, r.map, [r.file " saved map"]);
%!     assert_same_bits (saved.signedMap, r.signedMap, [r.file " saved signedMap"]);
%!     assert_same_bits (saved.distribution, r.distribution, [r.file " saved distribution"]);
%!     assert_same_bits (saved.level, r.level, [r.file " saved level"]);
%!     [indices, colours] = imread (r.outputFiles{2});
%!     low = min (r.map(:));  high = max (r.map(:));
%!     assert (isequal (indices, uint8 (round ((r.map - low) / (high - low) * 255))), r.file);
%!     assert (colours, hot (256), 1 / 255);
%!     [indices, colours] = imread (r.outputFiles{3});
%!     assert (isequal (indices, uint8 (round ((r.signedMap + 1) / 2 * 255))), r.file);
%!     assert (colours([1 129 256], :), [0.13 0.40 0.67; 1 1 1; 0.70 0.09 0.17], 1 / 255);
%!     [~, stems{end+1}] = fileparts (r.outputFiles{1});
%!   endfor
%!   assert (sort (stems), {"astronaut", "astronaut16", "camera16", "camera_3", "camera_4", ...
%!                          "crop", "mask", "palette", "strip"});
%! unwind_protect_cleanup
%!   remove_folder (output);
%! end_unwind_protect

## The table as CSV: one line per image, numbers back to the same bits.
%!test
%! table_file = [tempname() ".csv"];
%! unwind_protect
%!   results = vesk_batch (files, "CsvFile", table_file, "Progress", false);
%!   text = fileread (table_file);
%!   lines = strsplit (strtrim (text), "\n");
%!   assert (numel (lines), numel (files) + 1);
%!   header = strsplit (lines{1}, ",");
%!   assert (header([1:7 107:end]), {"file", "class", "rows", "columns", "channels", "level", ...
%!                                   "distribution_1", "distribution_101", "errorIdentifier", ...
%!                                   "errorMessage"});
%!   for k = 1:numel (results)
%!     r = results(k);
%!     fields = regexp (lines{k + 1}, '("(?:[^"]|"")*"|[^,]*)(?:,|$)', "tokens");
%!     fields = cellfun (@(f) f{1}, fields, "UniformOutput", false);
%!     assert (numel (fields), 109);
%!     assert (fields{1}, ["\"" r.file "\""]);
%!     assert (fields{108}, ["\"" r.errorIdentifier "\""]);
%!     numbers = str2double (fields(6:107));
%!     if (isempty (r.errorIdentifier))
%!       assert_same_bits (numbers', [r.level; r.distribution], r.file);
%!       assert (str2double (fields(3:5)), [r.size(1:2), prod(r.size(3:end))]);
%!     else
%!       assert (all (isnan (numbers)), r.file);
%!     endif
%!   endfor
%! unwind_protect_cleanup
%!   delete (table_file);
%! end_unwind_protect

## A host without rgb2gray and ind2gray gets vesk_batch's own conversion:
## the same bits in the same class.
%!test
%! image_dir = fileparts (which ("rgb2gray"));
%! copy = tempname ();
%! copyfile (image_dir, copy);
%! delete (fullfile (copy, "rgb2gray.m"));
%! delete (fullfile (copy, "ind2gray.m"));
%! rmpath (image_dir);
%! addpath (copy);
%! unwind_protect
%!   assert (exist ("rgb2gray"), 0);
%!   assert (exist ("ind2gray"), 0);
%!   results = vesk_batch (files, "ReturnMaps", true, "Progress", false);
%! unwind_protect_cleanup
%!   rmpath (copy);
%!   addpath (image_dir);
%!   remove_folder (copy);
%! end_unwind_protect
%! check_results (results, want, "own grey conversion");

%!function kilobytes = resident_kilobytes ()
%!  status = fileread ("/proc/self/status");
%!  kilobytes = str2double (regexp (status, 'VmRSS:\s*(\d+)', "tokens", "once"){1});
%!endfunction

## Nothing grows when the maps go to disk: a few hundred images, serially
## and on 2 workers (whose results come back to this process).
%!testif ; exist ("/proc/self/status", "file")
%! output = tempname ();
%! crop = fullfile (folder, "crop.png");
%! unwind_protect
%!   for workers = [1 2]
%!     vesk_batch (repmat ({crop}, 20, 1), "OutputFolder", output, "Workers", workers, "Progress", false);
%!     before = resident_kilobytes ();
%!     results = vesk_batch (repmat ({crop}, 300, 1), "OutputFolder", output, "Workers", workers,
%!                           "Progress", false);
%!     growth = resident_kilobytes () - before;
%!     ## Kept, the maps would take 300 x 960 kB.
%!     assert (growth < 40 * 1024, "%d workers: resident size grew by %d kB", workers, growth);
%!     assert (all (cellfun ("isempty", {results.errorIdentifier})));
%!     assert (numel (dir (fullfile (output, "*.mat"))), 300);
%!   endfor
%! unwind_protect_cleanup
%!   remove_folder (output);
%! end_unwind_protect

## Progress lines, and the serial run when there is no second core.
%!test
%! printed = evalc ("vesk_batch (files(1:2));");
%! assert (! isempty (regexp (printed, '^vesk_batch: 2 images, serially\n', "once")), printed);
%! assert (! isempty (regexp (printed, 'vesk_batch: 2 images in [0-9.]+ s, [0-9.]+ images/s, 0 failed', "once")), printed);
%! shadow = tempname ();
%! mkdir (shadow);
%! write_bytes (fullfile (shadow, "nproc.m"), "function n = nproc (~)\n  n = 1;\nendfunction\n");
%! addpath (shadow);
%! warning ("on", "vesk_batch:serial");
%! lastwarn ("");
%! unwind_protect
%!   results = vesk_batch (files, "Workers", 2, "Progress", false);
%! unwind_protect_cleanup
%!   rmpath (shadow);
%!   remove_folder (shadow);
%!   warning ("off", "all");
%! end_unwind_protect
%! [~, identifier] = lastwarn ();
%! assert (identifier, "vesk_batch:serial");
%! check_results (results, want, "serial fallback");

## The workers take the caller's warning settings: astronaut.png's colour
## profile draws a warning (without identifier) in imread, shown or not as
## the caller has it.
## (A fresh Octave, so that the workers' own output can be read.)
%!test
%! script = [tempname() ".m"];
%! write_bytes (script, sprintf (["addpath ('%s');\n" ...
%!   "files = repmat ({'%s'}, 4, 1);\n" ...
%!   "warning ('on', 'all');\n" ...
%!   "disp ('shown:');  vesk_batch (files, 'Workers', 2, 'Progress', false);\n" ...
%!   "warning ('off', 'all');\n" ...
%!   "disp ('hidden:');  vesk_batch (files, 'Workers', 2, 'Progress', false);\n" ...
%!   "disp ('end');\n"], getenv ("VESK_OCTAVE_DIR"), fullfile (getenv ("VESK_DATA_DIR"), "astronaut.png")));
%! unwind_protect
%!   [status, output] = system (sprintf ("%s --no-gui --norc --quiet %s 2>&1",
%!                                       fullfile (OCTAVE_HOME, "bin", "octave-cli"), script));
%! unwind_protect_cleanup
%!   delete (script);
%! end_unwind_protect
%! assert (status, 0, output);
%! shown = regexp (output, 'shown:(.*)hidden:(.*)end', "tokens", "once");
%! assert (numel (shown), 2, output);
%! assert (numel (strfind (shown{1}, "sRGB profile")) >= 4, output);
%! assert (isempty (strfind (shown{2}, "sRGB profile")), output);

## Calls vesk_batch refuses, each with its identifier.
%!test
%! cases = {
%!   "vesk_batch ()",                                   "vesk_batch:nargin"
%!   "vesk_batch (42)",                                 "vesk_batch:files"
%!   "vesk_batch ({1, 2})",                             "vesk_batch:files"
%!   "vesk_batch (tempname ())",                        "vesk_batch:folder"
%!   "vesk_batch (folder, {1})",                        "vesk_batch:pattern"
%!   "vesk_batch (files, 'Workers')",                   "vesk_batch:option"
%!   "vesk_batch (files, 'Colour', 1)",                 "vesk_batch:option"
%!   "vesk_batch (files, 'Workers', 0)",                "vesk_batch:option"
%!   "vesk_batch (files, 'Workers', 1.5)",              "vesk_batch:option"
%!   "vesk_batch (files, 'Functions', {'Vesk3'})",      "vesk_batch:option"
%!   "vesk_batch (files, 'Progress', 'yes')",           "vesk_batch:option"
%!   "vesk_batch (files, 'Reader', 42)",                "vesk_batch:option"
%!   "vesk_batch (files, 'Resume', true)",              "vesk_batch:noOutputFolder"
%!   "vesk_batch (files, 'Resume', 'yes')",             "vesk_batch:option"
%!   "vesk_batch (files, 'Shard', [3 2])",              "vesk_batch:option"
%!   "vesk_batch (files, 'Shard', [0 2])",              "vesk_batch:option"
%!   "vesk_batch (files, 'Shard', [1.5 2])",            "vesk_batch:option"
%!   "vesk_batch (files, 'Shard', 2)",                  "vesk_batch:option"
%!   "vesk_batch (files, 'Shard', 'first')",            "vesk_batch:option"
%! };
%! for k = 1:rows (cases)
%!   try
%!     eval ([cases{k, 1} ";"]);
%!     error ("%s was not refused", cases{k, 1});
%!   catch err
%!     assert (err.identifier, cases{k, 2}, cases{k, 1});
%!   end_try_catch
%! endfor

## One plug-in only; the other's results stay empty.
%!test
%! only = vesk_batch (files(1:3), "Functions", "Vesk", "Progress", false);
%! assert (all (cellfun ("isempty", {only.level})));
%! assert ({only.distribution}, {want(1:3).distribution});
%! only = vesk_batch (files(1:3), "Functions", {"Vesk2"}, "Progress", false);
%! assert (all (cellfun ("isempty", {only.distribution})));
%! assert ({only.level}, {want(1:3).level});

## The help text: H1 line, calling forms, options, example that runs.
%!test
%! text = get_help_text ("vesk_batch");
%! assert (! isempty (regexp (text, '^\s*VESK_BATCH\s+\S', "once")));
%! for f = {"RESULTS = vesk_batch(FILES)", "vesk_batch(FOLDER, PATTERN)", "'Workers'", ...
%!          "'OutputFolder'", "'ReturnMaps'", "'CsvFile'", "'Progress'", "'Functions'", ...
%!          "'Reader'", "errorIdentifier", "vesk_batch:unreadable", "Example:", "See also"}
%!   assert (! isempty (strfind (text, f{1})), "help lacks \"%s\"", f{1});
%! endfor
%! run_help_example ("vesk_batch");

## Last: the folder goes.
%!test
%! remove_folder (folder);
