// libmex of the stand-in host: the error and warning calls.
#include <stdarg.h>
#include <stdio.h>

#include "standin_host.h"

using namespace test_support;

// Declares char text[] holding the message of a host call: its format and
// the arguments after it (va_start needs the variadic function itself).
#define VESK_FORMATTED_MESSAGE(text, format)             \
    char text[4096];                                     \
    do {                                                 \
        va_list arguments;                               \
        va_start(arguments, format);                     \
        vsnprintf(text, sizeof text, format, arguments); \
        va_end(arguments);                               \
    } while (0)

extern "C" void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    VESK_FORMATTED_MESSAGE(text, format);
    standin::raiseError(identifier, text);
}

extern "C" void mexWarnMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    VESK_FORMATTED_MESSAGE(text, format);
    standin::recordWarning(identifier, text);
}
