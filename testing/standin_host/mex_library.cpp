// libmex of the stand-in host: the error and warning calls.
#include <stdarg.h>
#include <stdio.h>

#include "standin_host.h"

extern "C" void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    char message[4096];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    standin::raiseError(identifier, message);
}

extern "C" void mexWarnMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    char message[4096];
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    standin::recordWarning(identifier, message);
}
