// Vesk2's Octave-native entry point: the function of Vesk2.mex without
// Octave's MEX layer. Its help is Vesk2.m's, compiled in (vesk2_help.h is
// generated from it): Octave reads the .m file beside a .mex file for help,
// but not beside a .oct file.
#include "octave_gateway.h"
#include "vesk2_function.h"
#include "vesk2_help.h"

DEFUN_DLD(Vesk2, args, nargout, kVesk2Help)
{
    return vesk::runOctaveGateway(vesk::kVesk2Function, args, nargout);
}
