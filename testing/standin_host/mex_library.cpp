// libmex of the stand-in host: the error and warning calls.
#include <stdarg.h>
#include <stdio.h>

#include "standin_host.h"

using namespace test_support;

namespace {

struct FormattedMessage {
    char text[4096];
};

FormattedMessage formatMessage(const char* format, va_list arguments)
{
    FormattedMessage message;
    vsnprintf(message.text, sizeof message.text, format, arguments);
    return message;
}

}  // namespace

extern "C" void mexErrMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const FormattedMessage message = formatMessage(format, arguments);
    va_end(arguments);
    standin::raiseError(identifier, message.text);
}

extern "C" void mexWarnMsgIdAndTxt(const char* identifier, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    const FormattedMessage message = formatMessage(format, arguments);
    va_end(arguments);
    standin::recordWarning(identifier, message.text);
}
