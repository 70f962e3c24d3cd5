// The checks of a call to either function, and the texts of its refusals and
// warnings, whichever host runs it: the MEX gateway and the Octave-native
// gateway describe the call in the same plain terms, and the same functions
// decide, in one order, whether to refuse it and with which identifier and
// message. Each gateway only reports through its host's error or warning
// call.
//
// No C library here: Vesk2's MEX library calls nothing of it, so the messages
// are put together by hand.
#ifndef VESK_HOST_CALL_CHECKS_H
#define VESK_HOST_CALL_CHECKS_H

#include <stdint.h>

#include "image_class.h"

namespace vesk {

// The class of an argument as the host names it, in the order of MATLAB's
// class identifiers (mxClassID).
enum class ArgumentClass {
    Unknown,
    Cell,
    Struct,
    Logical,
    Char,
    Void,
    Double,
    Single,
    Int8,
    Uint8,
    Int16,
    Uint16,
    Int32,
    Uint32,
    Int64,
    Uint64,
    Function
};

// How to turn an image of a numeric class the functions do not take into the
// function's input, mapping the class's whole range onto the function's.
struct ClassConversion {
    ArgumentClass argumentClass;
    const char* conversion;  // "Vesk(double(img) + 128)"
};

enum { kMaxClassConversions = 8 };

// What a function's messages say about it.
struct CallRules {
    const char* functionName;  // "Vesk": the prefix of every identifier
    const char* outputNames;   // "[map, dist]", for messages
    const char* domain;        // "grey levels 0..255": what a double image holds
    // Keyed by class; the list ends at the first entry of no class (Unknown).
    ClassConversion conversions[kMaxClassConversions];
};

// True for the classes of numeric and logical arrays.
bool holdsNumbers(ArgumentClass argumentClass);

// The class of an argument from its class as named (by identifier or name)
// and whether the host says it is a numeric or logical array: Unknown for a
// value named like a numeric or logical class that is none (an object whose
// class is called uint8), which must never be read as one.
ArgumentClass confirmedClass(ArgumentClass named, bool numericOrLogical);

// A call as the host presents it. The image fields describe input 0 and are
// read only when there is exactly one input.
struct CallDescription {
    int inputCount;
    int outputCount;  // as asked for
    ArgumentClass imageClass;  // Unknown for objects (confirmedClass)
    const char* className;     // the host's name for the image's class
    bool sparse;
    bool complex;
    // As the host reports them (unsigned counts), converted to double.
    double dimensionCount;
    double rows;
    double columns;  // the product of every dimension after the first
};

// An identifier and a message, for the host's error or warning call.
struct CallMessage {
    char identifier[64];  // "Vesk:nargin"
    char message[1024];   // cut short, never overrun, if a class name is absurdly long
};

// True, with *refusal filled, when the call is not one real, full, 2-D matrix
// of a class image_classes.h lists, of fewer than
// 2^31 elements, with at most two outputs asked for. The checks run in this
// order: inputs, outputs, class, sparse, complex, dimensions, size. False,
// with *imageClass set, for a call to run.
bool refuseCall(const CallRules& rules, const CallDescription& call, ImageClass* imageClass,
                CallMessage* refusal);

// The refusal of a call the process had not the memory for (Octave-native
// functions; in MATLAB the host's own out-of-memory error ends the call):
// "Vesk:outOfMemory", with the image's size and class, what the call needed
// for the map and for scratch, and what needs less.
void outOfMemoryMessage(const CallRules& rules, const CallDescription& call, double mapBytes,
                        double scratchBytes, CallMessage* refusal);

// A warning about a valid image that almost surely is on the other
// function's scale, given when the kernel's histogram and then the values
// say so. The message reads: "<name> takes <domain>, but every value of this
// <class> image <finding>. <advice> To silence this warning:
// warning('off', '<id>')."
struct ScaleWarning {
    const char* reason;  // "intensityScale": the identifier after "Vesk:"
    bool (*valuesConfirm)(ImageClass imageClass, const void* input, int32_t elementCount);
    const char* finding;
    const char* advice;
};

void scaleWarningMessage(const CallRules& rules, const ScaleWarning& warning,
                         const char* className, CallMessage* message);

}  // namespace vesk

#endif
