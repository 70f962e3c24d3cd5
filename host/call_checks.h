// The checks of a call to either function, whichever host runs it: the MEX
// gateway and the Octave-native gateway describe the call in the same plain
// terms, and the same function decides, in one order, whether to refuse it
// and with which identifier and message. Each gateway only reports the
// refusal through its host's error call.
//
// No C library here: Vesk2's MEX library calls nothing of it, so the messages
// are put together by hand.
#ifndef VESK_HOST_CALL_CHECKS_H
#define VESK_HOST_CALL_CHECKS_H

// What a function's messages say about it.
struct CallRules {
    const char* functionName;      // "Vesk": the prefix of every identifier
    const char* outputNames;       // "[map, dist]", for messages
    const char* conversionAdvice;  // how to turn an image of another class into valid input
};

// A call as the host presents it. The image fields describe input 0 and are
// read only when there is exactly one input.
struct CallDescription {
    int inputCount;
    int outputCount;  // as asked for
    bool doubleClass;
    const char* className;  // the host's name for the image's class
    bool sparse;
    bool complex;
    // As the host reports them (unsigned counts), converted to double.
    double dimensionCount;
    double rows;
    double columns;  // the product of every dimension after the first
};

struct CallRefusal {
    char identifier[64];  // "Vesk:nargin"
    char message[1024];   // cut short, never overrun, if a class name is absurdly long
};

// True, with *refusal filled, when the call is not one real, full, 2-D double
// matrix of fewer than 2^31 elements with at most two outputs asked for.
// The checks run in this order: inputs, outputs, class, sparse, complex,
// dimensions, size.
bool refuseCall(const CallRules& rules, const CallDescription& call, CallRefusal* refusal);

#endif
