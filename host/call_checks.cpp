#include "call_checks.h"

#include <stdint.h>

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

// Starts the refusal: "Vesk:<reason>" and an empty message to append to.
TextBuilder refuse(const CallRules& rules, const char* reason, CallRefusal* refusal)
{
    TextBuilder identifier(refusal->identifier, (int)sizeof refusal->identifier);
    identifier << rules.functionName << ":" << reason;
    return TextBuilder(refusal->message, (int)sizeof refusal->message);
}

}  // namespace

bool refuseCall(const CallRules& rules, const CallDescription& call, CallRefusal* refusal)
{
    const char* name = rules.functionName;
    if (call.inputCount != 1) {
        refuse(rules, "nargin", refusal)
            << name << " takes exactly one input, a greyscale image, but was given "
            << call.inputCount << ". Call it as " << rules.outputNames << " = " << name
            << "(img).";
        return true;
    }
    if (call.outputCount > 2) {
        refuse(rules, "nargout", refusal)
            << name << " returns at most two outputs, " << rules.outputNames << ", but "
            << call.outputCount << " were asked for.";
        return true;
    }
    if (!call.doubleClass) {
        refuse(rules, "notDouble", refusal)
            << name << " needs a real double matrix, but the image is of class "
            << call.className << ". " << rules.conversionAdvice;
        return true;
    }
    if (call.sparse) {
        refuse(rules, "sparse", refusal)
            << name << " needs a full matrix, but the image is sparse. Pass full(img) instead.";
        return true;
    }
    if (call.complex) {
        refuse(rules, "complex", refusal)
            << name
            << " needs a real matrix, but the image is complex. Pass real(img) or abs(img) "
               "instead.";
        return true;
    }
    if (call.dimensionCount > 2) {
        TextBuilder message = refuse(rules, "notMatrix", refusal);
        message << name << " needs a 2-D greyscale image, but the input has ";
        message.wholeNumber(call.dimensionCount)
            << " dimensions. Convert a colour image to grey first, for example with "
               "rgb2gray(img), or pass one channel, img(:,:,1).";
        return true;
    }
    if (call.rows > kMaxElements || call.columns > kMaxElements ||
        call.rows * call.columns > kMaxElements) {
        TextBuilder message = refuse(rules, "tooLarge", refusal);
        message << name << " handles at most 2147483647 elements, but the image is ";
        message.wholeNumber(call.rows) << " x ";
        message.wholeNumber(call.columns) << ". Process it in tiles of fewer elements.";
        return true;
    }
    return false;
}
