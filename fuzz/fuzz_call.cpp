#include "fuzz_call.h"

#include <float.h>
#include <math.h>
#include <stdlib.h>
#include <string.h>

#include "class_cases.h"

using namespace test_support;

namespace {

// Reads bytes front to back; past the end every byte is 0.
class ByteReader {
public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint8_t next() { return position_ < size_ ? data_[position_++] : 0; }
    uint64_t next64()
    {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = value << 8 | next();
        return value;
    }

private:
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
};

double fromBits(uint64_t bits)
{
    double value;
    memcpy(&value, &bits, sizeof value);
    return value;
}

// Values at the edges of both mappings.
const double kSpecialValues[32] = {
    0.0,
    -0.0,
    1.0,
    -1.0,
    255.0,
    256.0,
    nextafter(256.0, 0.0),
    -nextafter(1.0, 0.0),  // truncates to 0
    fromBits(0x7ff8000000000000ULL),  // quiet NaN
    fromBits(0x7ff8000000000001ULL),  // NaN with a payload
    fromBits(0x7ff0000000000001ULL),  // signalling NaN
    fromBits(0xfff8000000000000ULL),  // NaN with the sign bit
    INFINITY,
    -INFINITY,
    fromBits(1),                       // smallest subnormal
    -fromBits(0x000fffffffffffffULL),  // largest negative subnormal
    DBL_MIN,
    DBL_MAX,
    -DBL_MAX,
    2147483648.0,  // 2^31
    2147483647.0,
    2147483647.5,
    -2147483648.0,
    -2147483649.0,
    2147483648.0 / 255.0,
    nextafter(2147483648.0 / 255.0, 0.0),
    nextafter(2147483648.0 / 255.0, INFINITY),
    256.0 / 255.0,
    1.0 / 255.0,
    nextafter(1.0, 0.0),
    1e10,
    1e300,
};

double decodeValue(ByteReader& reader)
{
    const uint8_t tag = reader.next();
    switch (tag >> 5) {
    case 0:
        return kSpecialValues[tag & 31];
    case 1:
    case 2:
        return (double)reader.next();  // a grey level
    case 3:
        return reader.next() / 255.0;  // an intensity on a level
    case 4: {
        // One step either side of a level or an intensity level.
        const double base = (tag & 2) ? reader.next() / 255.0 : (double)reader.next();
        return nextafter(base, (tag & 1) ? INFINITY : -INFINITY);
    }
    case 5:
        return reader.next() + (tag & 31) / 32.0;  // fractional grey level
    case 6:
        return (reader.next() - 128.0) * ((tag & 31) + 1);  // around and beyond 0..255
    default:
        return fromBits(reader.next64());  // any bit pattern
    }
}

// Edge values of single images: around 0, 1 and 256, the subnormals, the
// largest values, and the bound above which x * 255 truncates out of range.
const float kSingleEdgeValues[32] = {
    0.0f,
    -0.0f,
    1.0f,
    nextafterf(1.0f, 0.0f),
    nextafterf(1.0f, 2.0f),
    255.0f,
    256.0f,
    nextafterf(256.0f, 0.0f),
    nextafterf(255.0f, 256.0f),
    -1.0f,
    nextafterf(-1.0f, 0.0f),
    0.5f,
    (float)NAN,
    -(float)NAN,
    INFINITY,
    -INFINITY,
    nextafterf(0.0f, 1.0f),   // smallest subnormal
    -nextafterf(0.0f, 1.0f),
    nextafterf(FLT_MIN, 0.0f),  // largest subnormal
    FLT_MIN,
    FLT_MAX,
    -FLT_MAX,
    2147483648.0f,  // 2^31
    nextafterf(2147483648.0f, 0.0f),
    (float)(2147483648.0 / 255.0),
    nextafterf((float)(2147483648.0 / 255.0), 0.0f),
    nextafterf((float)(2147483648.0 / 255.0), INFINITY),
    (float)(1.0 / 255.0),
    (float)(254.0 / 255.0),
    (float)(256.0 / 255.0),
    1e10f,
    -0.5f,
};

float decodeSingle(ByteReader& reader)
{
    const uint8_t tag = reader.next();
    switch (tag >> 5) {
    case 0:
        return kSingleEdgeValues[tag & 31];
    case 1: {
        // An intensity on a level, or one step either side of it.
        const float intensity = (float)(reader.next() / 255.0);
        return (tag & 3) == 0 ? intensity : nextafterf(intensity, (tag & 1) ? 2.0f : -1.0f);
    }
    case 2: {
        const float level = (float)reader.next();
        return (tag & 3) == 0 ? level : nextafterf(level, (tag & 1) ? 300.0f : -1.0f);
    }
    case 7: {
        uint32_t bits = 0;
        for (int i = 0; i < 4; ++i)
            bits = bits << 8 | reader.next();
        float value;
        memcpy(&value, &bits, sizeof value);
        return value;  // any bit pattern
    }
    default:
        return (float)decodeValue(reader);
    }
}

// uint16 values, mostly at the rounding steps: 257k + 128 | 129 (Vesk) and
// 257k - 1 | 0 | 1 (Vesk2).
uint16_t decodeUint16(ByteReader& reader)
{
    static const int kStepOffsets[8] = {-1, 0, 1, 127, 128, 129, 130, 256};
    const uint8_t tag = reader.next();
    if (tag < 0x80) {
        const int value = 257 * reader.next() + kStepOffsets[tag & 7];
        return (uint16_t)(value < 0 ? 0 : value > 65535 ? 65535 : value);
    }
    return (uint16_t)(reader.next() << 8 | reader.next());
}

bool isAcceptedClass(mxClassID classId)
{
    for (mxClassID accepted : test_support::acceptedClasses())
        if (classId == accepted)
            return true;
    return false;
}

// The elements of an image of class classId, as raw bytes; empty for the
// classes the plug-ins refuse (their data is never read).
std::vector<unsigned char> decodeElements(ByteReader& reader, mxClassID classId, size_t count)
{
    std::vector<unsigned char> bytes;
    auto append = [&bytes](const void* element, size_t size) {
        const unsigned char* first = static_cast<const unsigned char*>(element);
        bytes.insert(bytes.end(), first, first + size);
    };
    for (size_t k = 0; k < count; ++k) {
        switch (classId) {
        case mxDOUBLE_CLASS: {
            const double value = decodeValue(reader);
            append(&value, sizeof value);
            break;
        }
        case mxSINGLE_CLASS: {
            const float value = decodeSingle(reader);
            append(&value, sizeof value);
            break;
        }
        case mxUINT16_CLASS:
        case mxINT16_CLASS: {
            // int16 v is the uint16 v + 32768 of the same bits with the top bit flipped.
            const uint16_t value = (uint16_t)(decodeUint16(reader) ^ (classId == mxINT16_CLASS ? 0x8000 : 0));
            append(&value, sizeof value);
            break;
        }
        case mxUINT8_CLASS:
        case mxLOGICAL_CLASS: {  // a logical may hold any byte: non-zero is true
            const uint8_t value = reader.next();
            append(&value, sizeof value);
            break;
        }
        default: {
            // Any other class the plug-ins take: its elements' bytes as they
            // come (integer classes, whose every bit pattern is a value). The
            // others' data is never read.
            if (!isAcceptedClass(classId))
                return {};
            for (size_t b = 0; b < test_support::elementBytesOf(classId); ++b)
                bytes.push_back(reader.next());
            break;
        }
        }
    }
    return bytes;
}

// Every class the host knows, double first and most often.
const mxClassID kClasses[16] = {
    mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxUINT8_CLASS,   mxSINGLE_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,
    mxCELL_CLASS,   mxSTRUCT_CLASS, mxINT8_CLASS,    mxINT16_CLASS,  mxUINT16_CLASS,  mxINT32_CLASS,
    mxUINT32_CLASS, mxINT64_CLASS,  mxUINT64_CLASS,  mxFUNCTION_CLASS,
};

// Dimensions at and around the limits of 32-bit element counts.
uint64_t decodeHugeDimension(ByteReader& reader)
{
    static const uint64_t kDimensions[16] = {
        0, 1, 2, 8192, 46340, 46341, 65536, 2147483647ULL, 2147483648ULL, 4294967295ULL,
        4294967296ULL, 4294967297ULL, 1ULL << 62, 1ULL << 63, ~0ULL, 1073741824ULL,
    };
    const uint8_t tag = reader.next();
    return tag < 0xF0 ? kDimensions[tag & 15] : reader.next64();
}

const uint64_t kMaxElements = 2147483647ULL;

}  // namespace

bool decodeFuzzCall(const uint8_t* data, size_t size, FuzzCall& call)
{
    ByteReader reader(data, size);
    const uint8_t head = reader.next();
    static const int kInputCounts[8] = {1, 1, 1, 1, 1, 0, 2, 3};
    static const int kOutputCounts[8] = {2, 2, 1, 0, 2, 1, 3, -1};
    const int inputCount = kInputCounts[head & 7];
    call.outputCount = kOutputCounts[(head >> 3) & 7];
    const int kind = head >> 6;  // 0, 1: plain double; 2: any class, flags, N-D; 3: huge

    standin::InputMatrix image;
    std::string imageRejection;
    if (kind == 3) {
        const uint64_t rows = decodeHugeDimension(reader);
        const uint64_t columns = decodeHugeDimension(reader);
        const unsigned __int128 product = (unsigned __int128)rows * columns;
        const bool tooLarge = rows > kMaxElements || columns > kMaxElements || product > kMaxElements;
        // The buffer holds two doubles: a shape within the limits must fit it.
        if (!tooLarge && product > 2)
            return false;
        image = standin::hugeMatrix((size_t)rows, (size_t)columns);
        if (tooLarge)
            imageRejection = "tooLarge";
        else
            image.values.assign((size_t)product, 0.0);
    } else {
        image.classId = mxDOUBLE_CLASS;
        std::vector<size_t> dimensions{(size_t)(reader.next() % 33), (size_t)(reader.next() % 33)};
        if (kind == 2) {
            const uint8_t flags = reader.next();
            image.classId = kClasses[flags & 15];
            image.complex = (flags >> 4) & 1;
            image.sparse = (flags >> 5) & 1;
            for (int extra = flags >> 6; extra > 0; --extra)
                dimensions.push_back(reader.next() % 4);
        }
        image.dimensions = dimensions;
        size_t elementCount = 1;
        for (size_t d : dimensions)
            elementCount *= d;

        if (!isAcceptedClass(image.classId))
            imageRejection = "unsupportedClass";
        else if (image.sparse)
            imageRejection = "sparse";
        else if (image.complex)
            imageRejection = "complex";
        else if (dimensions.size() > 2)
            imageRejection = "notMatrix";

        image.data = decodeElements(reader, image.classId, elementCount);
    }

    for (int i = 0; i < inputCount; ++i)
        call.inputs.push_back(i == 0 ? image : standin::doubleMatrix(1, 1, {1.0}));

    if (inputCount != 1)
        call.expectedRejection = "nargin";
    else if (call.outputCount > 2)
        call.expectedRejection = "nargout";
    else
        call.expectedRejection = imageRejection;
    return true;
}
