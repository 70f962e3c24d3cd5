// Vesk's Octave-native entry point: the function of Vesk.mex without
// Octave's MEX layer. Its help is Vesk.m's, compiled in (vesk_help.h is
// generated from it): Octave reads the .m file beside a .mex file for help,
// but not beside a .oct file.
#include "octave_gateway.h"
#include "vesk_function.h"
#include "vesk_help.h"

DEFUN_DLD(Vesk, args, nargout, kVeskHelp)
{
    return vesk::runOctaveGateway(vesk::kVeskFunction, args, nargout);
}
