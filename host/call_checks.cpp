#include "call_checks.h"

#include <stdint.h>

namespace vesk {

namespace {

const double kMaxElements = 2147483647.0;  // 2^31 - 1: element counts are signed 32-bit

// Appends to a fixed buffer, always terminated, never past its end: what
// snprintf would do for %s, %d and %.0f of a whole number.
class TextBuilder {
public:
    TextBuilder(char* buffer, int capacity) : buffer_(buffer), capacity_(capacity), length_(0)
    {
        buffer_[0] = '\0';
    }

    TextBuilder& operator<<(const char* text)
    {
        for (const char* c = text; *c != '\0'; ++c)
            put(*c);
        return *this;
    }

    TextBuilder& operator<<(int value)
    {
        int64_t wide = value;
        if (wide < 0) {
            put('-');
            wide = -wide;
        }
        return appendDigits((uint64_t)wide);
    }

    // A whole number of at least 0 held as a double, every digit exact, as
    // %.0f prints it.
    TextBuilder& wholeNumber(double value)
    {
        const double twoTo63 = 9223372036854775808.0;
        if (value < twoTo63)
            return appendDigits((uint64_t)value);
        // Halve it (exactly: a double this large is even) until it fits 64
        // bits, then double the decimal digits back as many times.
        int halvings = 0;
        while (value >= twoTo63) {
            value /= 2.0;
            ++halvings;
        }
        char digits[400];  // least significant first; doubles stay below 10^309
        int count = 0;
        for (uint64_t rest = (uint64_t)value; rest != 0; rest /= 10)
            digits[count++] = (char)(rest % 10);
        for (; halvings > 0; --halvings) {
            int carry = 0;
            for (int k = 0; k < count; ++k) {
                const int twice = digits[k] * 2 + carry;
                digits[k] = (char)(twice % 10);
                carry = twice / 10;
            }
            if (carry != 0 && count < (int)sizeof digits)
                digits[count++] = (char)carry;
        }
        while (count > 0)
            put((char)('0' + digits[--count]));
        return *this;
    }

private:
    TextBuilder& appendDigits(uint64_t value)
    {
        char digits[20];
        int count = 0;
        do {
            digits[count++] = (char)('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count > 0)
            put(digits[--count]);
        return *this;
    }

    void put(char c)
    {
        if (length_ + 1 >= capacity_)
            return;
        buffer_[length_++] = c;
        buffer_[length_] = '\0';
    }

    char* buffer_;
    int capacity_;
    int length_;
};

// Starts a message: "Vesk:<reason>" and an empty text to append to.
TextBuilder startMessage(const CallRules& rules, const char* reason, CallMessage* message)
{
    TextBuilder identifier(message->identifier, (int)sizeof message->identifier);
    identifier << rules.functionName << ":" << reason;
    return TextBuilder(message->message, (int)sizeof message->message);
}

// The image class of an argument the functions take; false for every other.
bool acceptedClass(ArgumentClass argumentClass, ImageClass* imageClass)
{
#define VESK_ACCEPT_CLASS(Enum, ...)                  \
    if (argumentClass == ArgumentClass::Enum) {      \
        *imageClass = ImageClass::Enum;              \
        return true;                                 \
    }
    VESK_IMAGE_CLASSES(VESK_ACCEPT_CLASS)
#undef VESK_ACCEPT_CLASS
    return false;
}

// The conversion for a numeric class the functions do not take; null for
// classes that hold no numbers (char, cell, struct, function handles, ...).
const char* classConversion(const CallRules& rules, ArgumentClass argumentClass)
{
    for (const ClassConversion& entry : rules.conversions) {
        if (entry.argumentClass == ArgumentClass::Unknown)
            break;
        if (entry.argumentClass == argumentClass)
            return entry.conversion;
    }
    return nullptr;
}

// "double, single, uint8, uint16, int16 or logical": the classes of the table.
void appendAcceptedClasses(TextBuilder& message)
{
    const char* names[] = {
#define VESK_CLASS_NAME(Enum, name, ...) name,
        VESK_IMAGE_CLASSES(VESK_CLASS_NAME)
#undef VESK_CLASS_NAME
    };
    const int count = (int)(sizeof names / sizeof names[0]);
    for (int k = 0; k < count; ++k)
        message << (k == 0 ? "" : k + 1 == count ? " or " : ", ") << names[k];
}

void refuseClass(const CallRules& rules, const CallDescription& call, CallMessage* refusal)
{
    const char* name = rules.functionName;
    TextBuilder message = startMessage(rules, "unsupportedClass", refusal);
    const char* conversion = classConversion(rules, call.imageClass);
    if (call.imageClass == ArgumentClass::Unknown) {
        // Objects, whatever their class is named: a class called uint8 holds
        // no uint8 array.
        message << name << " needs a numeric image matrix, but the input is an object of class "
                << call.className
                << " (or another value that is no numeric or logical array). Pass the numeric "
                   "image itself, for example "
                << name << "(double(obj)) where its class defines double, or " << name
                << "(imread(filename)) for a greyscale image file.";
        return;
    }
    if (conversion == nullptr) {
        message << name << " needs a numeric image matrix, but the input is of class "
                << call.className << ". Pass the image itself, for example " << name
                << "(imread(filename)) for a greyscale image file.";
        return;
    }
    message << name << " takes images of class ";
    appendAcceptedClasses(message);
    message << ", but the image is of class " << call.className << ". Convert it to " << rules.domain << " first: " << conversion
            << " maps the whole " << call.className << " range onto them, or " << name
            << "(double(img)) if its values already are " << rules.domain << ".";
    // One refusal for an integer colour image too: the advice covers both.
    if (call.dimensionCount > 2)
        message << " It also has more than two dimensions: pass one channel, img(:,:,1), or "
                   "convert a colour image to grey after converting its class.";
}

// Advice for an image of more than two dimensions that works for its class:
// "<leadIn> <name>(<toGrey>), or pass one channel, <name>(img(:,:,1))".
struct ColourAdvice {
    const char* leadIn;
    const char* toGrey;
};

ColourAdvice colourAdvice(ImageClass imageClass)
{
    switch (imageClass) {
#define VESK_COLOUR_ADVICE(Enum, name, Element, levelBytes, hostClass, accessor, leadIn, toGrey) \
    case ImageClass::Enum: return {leadIn, toGrey};
        VESK_IMAGE_CLASSES(VESK_COLOUR_ADVICE)
#undef VESK_COLOUR_ADVICE
    }
    return {"", ""};  // not reached: every class has its case
}

}  // namespace

bool holdsNumbers(ArgumentClass argumentClass)
{
    switch (argumentClass) {
    case ArgumentClass::Logical:
    case ArgumentClass::Double:
    case ArgumentClass::Single:
    case ArgumentClass::Int8:
    case ArgumentClass::Uint8:
    case ArgumentClass::Int16:
    case ArgumentClass::Uint16:
    case ArgumentClass::Int32:
    case ArgumentClass::Uint32:
    case ArgumentClass::Int64:
    case ArgumentClass::Uint64: return true;
    case ArgumentClass::Unknown:
    case ArgumentClass::Cell:
    case ArgumentClass::Struct:
    case ArgumentClass::Char:
    case ArgumentClass::Void:
    case ArgumentClass::Function: return false;
    }
    return false;
}

ArgumentClass confirmedClass(ArgumentClass named, bool numericOrLogical)
{
    return holdsNumbers(named) && !numericOrLogical ? ArgumentClass::Unknown : named;
}

bool refuseCall(const CallRules& rules, const CallDescription& call, ImageClass* imageClass,
                CallMessage* refusal)
{
    const char* name = rules.functionName;
    if (call.inputCount != 1) {
        startMessage(rules, "nargin", refusal)
            << name << " takes exactly one input, a greyscale image, but was given "
            << call.inputCount << ". Call it as " << rules.outputNames << " = " << name
            << "(img).";
        return true;
    }
    if (call.outputCount > 2) {
        startMessage(rules, "nargout", refusal)
            << name << " returns at most two outputs, " << rules.outputNames << ", but "
            << call.outputCount << " were asked for.";
        return true;
    }
    if (!acceptedClass(call.imageClass, imageClass)) {
        refuseClass(rules, call, refusal);
        return true;
    }
    if (call.sparse) {
        startMessage(rules, "sparse", refusal)
            << name << " needs a full matrix, but the image is sparse. Pass full(img) instead.";
        return true;
    }
    if (call.complex) {
        startMessage(rules, "complex", refusal)
            << name
            << " needs a real matrix, but the image is complex. Pass real(img) or abs(img) "
               "instead.";
        return true;
    }
    if (call.dimensionCount > 2) {
        const ColourAdvice advice = colourAdvice(*imageClass);
        TextBuilder message = startMessage(rules, "notMatrix", refusal);
        message << name << " needs a 2-D greyscale image, but the input has ";
        message.wholeNumber(call.dimensionCount)
            << " dimensions. " << advice.leadIn << " " << name << "(" << advice.toGrey
            << "), or pass one channel, " << name << "(img(:,:,1)).";
        return true;
    }
    if (call.rows > kMaxElements || call.columns > kMaxElements ||
        call.rows * call.columns > kMaxElements) {
        TextBuilder message = startMessage(rules, "tooLarge", refusal);
        message << name
                << " handles at most 2147483647 (2^31 - 1) elements, each dimension below 2^31, "
                   "but the image is ";
        message.wholeNumber(call.rows) << " x ";
        message.wholeNumber(call.columns)
            << ". Pass a smaller image, or process it in tiles of fewer elements: each tile then "
               "gets its own contrast map, computed from that tile alone, not the whole image's.";
        return true;
    }
    return false;
}

void outOfMemoryMessage(const CallRules& rules, const CallDescription& call, double mapBytes,
                        double scratchBytes, CallMessage* refusal)
{
    const double mebibyte = 1048576.0;
    const char* name = rules.functionName;
    TextBuilder message = startMessage(rules, "outOfMemory", refusal);
    message << name << " ran out of memory: for this ";
    message.wholeNumber(call.rows) << " x ";
    message.wholeNumber(call.columns) << " " << call.className << " image the call needs ";
    // Whole MiB, rounded up: never less than what was asked for.
    message.wholeNumber((double)(int64_t)((mapBytes + mebibyte - 1.0) / mebibyte))
        << " MiB for the map and ";
    message.wholeNumber((double)(int64_t)((scratchBytes + mebibyte - 1.0) / mebibyte))
        << " MiB of scratch, more than the process could get. Free memory, or pass what needs "
           "less: a uint8 or logical image needs no level array (a double image needs 4 bytes "
           "of it per element, a single, uint16 or int16 image 1), or a smaller image.";
}

void scaleWarningMessage(const CallRules& rules, const ScaleWarning& warning,
                         const char* className, CallMessage* message)
{
    startMessage(rules, warning.reason, message)
        << rules.functionName << " takes " << rules.domain << ", but every value of this "
        << className << " image " << warning.finding << ". " << warning.advice
        << " To silence this warning: warning('off', '" << message->identifier << "').";
}

}  // namespace vesk
