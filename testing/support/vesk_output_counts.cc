// vesk_output_counts (F, IMG): the lengths of the output lists that F (a
// function handle) gives a C++ caller for IMG with nargout 0, 1 and 2, as
// octave::feval returns them. M code drops outputs nobody asked for, so only
// a caller like this one sees a function that returns too many. Test support
// for the Octave suites; never shipped.
#include <octave/oct.h>
#include <octave/parse.h>

DEFUN_DLD(vesk_output_counts, args, , "COUNTS = vesk_output_counts (F, IMG)")
{
    if (args.length() != 2)
        print_usage();
    RowVector counts(3);
    for (int nargout = 0; nargout <= 2; ++nargout)
        counts(nargout) = octave::feval(args(0), octave_value_list(args(1)), nargout).length();
    return octave_value(counts);
}
