#include "class_cases.h"

#include <float.h>
#include <string.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "image_classes.h"
#include "whole_range_classes.h"

namespace test_support {

uint64_t SplitMix64::next()
{
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

const std::vector<mxClassID>& acceptedClasses()
{
    static const std::vector<mxClassID> classes = {
#define VESK_HOST_CLASS(Enum, name, Element, levelBytes, hostClass, ...) hostClass,
        VESK_IMAGE_CLASSES(VESK_HOST_CLASS)
#undef VESK_HOST_CLASS
    };
    return classes;
}

const char* classNameOf(mxClassID classId)
{
#define VESK_CLASS_NAME(Enum, name, Element, levelBytes, hostClass, ...) \
    if (classId == hostClass)                                            \
        return name;
    VESK_IMAGE_CLASSES(VESK_CLASS_NAME)
#undef VESK_CLASS_NAME
    switch (classId) {  // the classes the plug-ins refuse
    case mxINT8_CLASS: return "int8";
    case mxINT32_CLASS: return "int32";
    case mxUINT32_CLASS: return "uint32";
    case mxINT64_CLASS: return "int64";
    case mxUINT64_CLASS: return "uint64";
    case mxCHAR_CLASS: return "char";
    case mxCELL_CLASS: return "cell";
    case mxSTRUCT_CLASS: return "struct";
    case mxFUNCTION_CLASS: return "function_handle";
    default: return "unknown";
    }
}

size_t elementBytesOf(mxClassID classId)
{
#define VESK_ELEMENT_BYTES(Enum, name, Element, levelBytes, hostClass, ...) \
    if (classId == hostClass)                                               \
        return sizeof(Element);
    VESK_IMAGE_CLASSES(VESK_ELEMENT_BYTES)
#undef VESK_ELEMENT_BYTES
    throw std::logic_error(std::string("not a class the plug-ins take: ") + classNameOf(classId));
}

namespace {

template <typename Element>
Element elementAt(const standin::InputMatrix& image, size_t k)
{
    Element value;
    memcpy(&value, image.data.data() + k * sizeof(Element), sizeof value);
    return value;
}

size_t elementCountOf(const standin::InputMatrix& image)
{
    size_t count = 1;
    for (size_t d : image.dimensions)
        count *= d;
    return count;
}

}  // namespace

std::vector<double> convertedForDoubleCall(Plugin plugin, const standin::InputMatrix& image)
{
    const bool vesk = plugin == Plugin::Vesk;
    const size_t n = elementCountOf(image);
    std::vector<double> values(n);
    if (image.classId == mxDOUBLE_CLASS && image.data.empty())
        return image.values;
    for (size_t k = 0; k < n; ++k) {
        double& value = values[k];
        switch (image.classId) {
        case mxDOUBLE_CLASS: value = elementAt<double>(image, k); break;
        case mxSINGLE_CLASS: value = (double)elementAt<float>(image, k); break;
        case mxUINT8_CLASS: {
            const double v = elementAt<uint8_t>(image, k);
            value = vesk ? v : v / 255.0;
            break;
        }
        case mxUINT16_CLASS:
        case mxINT16_CLASS: {
            // The shift of int16 onto 0..65535, as im2uint16 and im2double make it.
            const double v = image.classId == mxUINT16_CLASS
                                 ? (double)elementAt<uint16_t>(image, k)
                                 : (double)elementAt<int16_t>(image, k) + 32768.0;
            // Rounded half away from zero; v / 257 is never a whole number and a half.
            value = vesk ? (double)std::lround(v / 257.0) : v / 65535.0;
            break;
        }
        case mxLOGICAL_CLASS:
            value = elementAt<uint8_t>(image, k) == 0 ? 0.0 : vesk ? 255.0 : 1.0;
            break;
        default:
            if (!isWholeRangeClass(image.classId))
                throw std::logic_error(std::string("no documented conversion for class ") +
                                       classNameOf(image.classId));
            value = wholeRangeConverted(plugin, image, k);
        }
    }
    return values;
}

namespace {

template <typename Element>
ClassCase imageOf(std::string what, mxClassID classId, size_t rows, size_t columns,
                  const std::vector<Element>& elements)
{
    return {classNameOf(classId) + (" " + what),
            standin::numericMatrix(classId, rows, columns, elements)};
}

// A column of the values, with one more 0 when their number is even.
template <typename Element>
ClassCase oddColumn(std::string what, mxClassID classId, std::vector<Element> values)
{
    if (values.size() % 2 == 0)
        values.push_back(Element(0));
    return imageOf(std::move(what), classId, values.size(), 1, values);
}

template <typename Element>
ClassCase oddRow(std::string what, mxClassID classId, std::vector<Element> values)
{
    if (values.size() % 2 == 0)
        values.push_back(Element(0));
    return imageOf(std::move(what), classId, 1, values.size(), values);
}

// uint16 values on both sides of every rounding step: Vesk's round(v / 257)
// steps between 257k + 128 and 257k + 129, Vesk2's v / 65535 * 255 at 257k.
std::vector<int32_t> uint16Steps()
{
    std::vector<int32_t> values;
    for (int32_t k = 0; k < 256; ++k)
        for (int32_t v : {257 * k - 1, 257 * k, 257 * k + 1, 257 * k + 128, 257 * k + 129})
            if (v >= 0 && v <= 65535)
                values.push_back(v);
    return values;
}

template <typename Float>
std::vector<Float> floatEdgeValues()
{
    const Float inf = (Float)INFINITY;
    const Float largest = sizeof(Float) == 4 ? (Float)FLT_MAX : (Float)DBL_MAX;
    const Float smallestNormal = sizeof(Float) == 4 ? (Float)FLT_MIN : (Float)DBL_MIN;
    const Float smallestSubnormal = std::nextafter((Float)0, (Float)1);
    const Float twoTo31 = (Float)2147483648.0;
    const Float unitBound = (Float)(2147483648.0 / 255.0);  // x * 255 reaches 2^31
    return {(Float)0,
            -(Float)0,
            (Float)1,
            std::nextafter((Float)1, (Float)0),
            std::nextafter((Float)1, (Float)2),
            (Float)0.5,
            (Float)255,
            std::nextafter((Float)256, (Float)0),
            (Float)256,
            (Float)NAN,
            -(Float)NAN,
            inf,
            -inf,
            smallestSubnormal,
            -smallestSubnormal,
            std::nextafter(smallestNormal, (Float)0),  // the largest subnormal
            smallestNormal,
            largest,
            -largest,
            twoTo31,
            std::nextafter(twoTo31, (Float)0),
            -twoTo31,
            unitBound,
            std::nextafter(unitBound, (Float)0),
            std::nextafter(unitBound, inf),
            (Float)-1,
            std::nextafter((Float)-1, (Float)0),
            (Float)-0.5,
            (Float)(256.0 / 255.0),
            (Float)1e10};
}

// Every level's intensity k / 255 as the class holds it, and its neighbours.
template <typename Float>
std::vector<Float> intensitySteps()
{
    std::vector<Float> values;
    for (int k = 0; k < 256; ++k) {
        const Float intensity = (Float)(k / 255.0);
        values.push_back(std::nextafter(intensity, (Float)-1));
        values.push_back(intensity);
        values.push_back(std::nextafter(intensity, (Float)2));
    }
    return values;
}

// Every grey level 0..256 and its neighbours.
template <typename Float>
std::vector<Float> greyLevelSteps()
{
    std::vector<Float> values;
    for (int k = 0; k <= 256; ++k) {
        values.push_back(std::nextafter((Float)k, (Float)-1));
        values.push_back((Float)k);
        values.push_back(std::nextafter((Float)k, (Float)300));
    }
    return values;
}

template <typename Element>
void addShapes(std::vector<ClassCase>& cases, mxClassID classId, Element one)
{
    for (size_t rows : {0, 3})
        for (size_t columns : {0, 3})
            if (rows * columns == 0)
                cases.push_back(imageOf("empty " + std::to_string(rows) + " x " +
                                            std::to_string(columns),
                                        classId, rows, columns, std::vector<Element>()));
    cases.push_back(imageOf("1 x 1", classId, 1, 1, std::vector<Element>{one}));
    cases.push_back(imageOf("1 x 1 of 0", classId, 1, 1, std::vector<Element>{Element(0)}));
}

std::vector<ClassCase> makeClassEdgeCases()
{
    std::vector<ClassCase> cases;

    std::vector<uint8_t> everyByte;
    for (int v = 0; v < 256; ++v)
        everyByte.push_back((uint8_t)v);
    cases.push_back(oddColumn("every value", mxUINT8_CLASS, everyByte));
    cases.push_back(oddRow("0 and 255", mxUINT8_CLASS, std::vector<uint8_t>{0, 255, 255}));
    addShapes<uint8_t>(cases, mxUINT8_CLASS, 255);

    std::vector<uint16_t> everyUint16, uint16StepValues;
    std::vector<int16_t> everyInt16, int16StepValues;
    for (int32_t v = 0; v <= 65535; ++v) {
        everyUint16.push_back((uint16_t)v);
        everyInt16.push_back((int16_t)(v - 32768));
    }
    for (int32_t v : uint16Steps()) {
        uint16StepValues.push_back((uint16_t)v);
        int16StepValues.push_back((int16_t)(v - 32768));
    }
    cases.push_back(oddRow("every value", mxUINT16_CLASS, everyUint16));
    cases.push_back(oddColumn("both sides of every rounding step", mxUINT16_CLASS, uint16StepValues));
    cases.push_back(oddRow("0 and 65535", mxUINT16_CLASS, std::vector<uint16_t>{0, 65535, 65535}));
    addShapes<uint16_t>(cases, mxUINT16_CLASS, 65535);
    cases.push_back(oddRow("every value", mxINT16_CLASS, everyInt16));
    cases.push_back(oddColumn("both sides of every rounding step", mxINT16_CLASS, int16StepValues));
    cases.push_back(
        oddRow("-32768, -1, 0 and 32767", mxINT16_CLASS, std::vector<int16_t>{-32768, -1, 0, 32767}));
    addShapes<int16_t>(cases, mxINT16_CLASS, 32767);
    cases.push_back(imageOf("1 x 1 of -32768", mxINT16_CLASS, 1, 1, std::vector<int16_t>{-32768}));

    cases.push_back(oddColumn("edge values", mxSINGLE_CLASS, floatEdgeValues<float>()));
    cases.push_back(oddColumn("intensity steps", mxSINGLE_CLASS, intensitySteps<float>()));
    cases.push_back(oddRow("grey-level steps", mxSINGLE_CLASS, greyLevelSteps<float>()));
    addShapes<float>(cases, mxSINGLE_CLASS, 0.5f);
    cases.push_back(oddColumn("edge values", mxDOUBLE_CLASS, floatEdgeValues<double>()));
    cases.push_back(oddColumn("intensity steps", mxDOUBLE_CLASS, intensitySteps<double>()));
    addShapes<double>(cases, mxDOUBLE_CLASS, 3.0);

    cases.push_back(imageOf("all false", mxLOGICAL_CLASS, 3, 3, std::vector<uint8_t>(9, 0)));
    cases.push_back(imageOf("all true", mxLOGICAL_CLASS, 3, 3, std::vector<uint8_t>(9, 1)));
    cases.push_back(imageOf("mixed", mxLOGICAL_CLASS, 3, 5,
                            std::vector<uint8_t>{1, 0, 0, 1, 1, 0, 0, 0, 1, 0, 1, 0, 0, 0, 0}));
    // A host holds true as 1; any other non-zero byte counts as true all the same.
    cases.push_back(oddRow("any non-zero byte is true", mxLOGICAL_CLASS,
                           std::vector<uint8_t>{0, 1, 2, 128, 255, 0, 0}));
    addShapes<uint8_t>(cases, mxLOGICAL_CLASS, 1);
    for (mxClassID classId : acceptedClasses())
        if (isWholeRangeClass(classId))
            addWholeRangeEdgeCases(cases, classId);
    return cases;
}

template <typename Element>
std::vector<Element> randomElements(SplitMix64& random, size_t count,
                                    Element (*draw)(SplitMix64&, uint32_t style))
{
    const uint32_t style = random.below(4);
    std::vector<Element> values(count);
    // Style 3: a few values only, where ties for the smallest contrast are likely.
    Element palette[3] = {draw(random, 0), draw(random, 0), draw(random, 0)};
    for (Element& value : values)
        value = style == 3 ? palette[random.below(3)] : draw(random, style);
    return values;
}

uint8_t drawByte(SplitMix64& random, uint32_t)
{
    return (uint8_t)random.below(256);
}

uint16_t drawUint16(SplitMix64& random, uint32_t style)
{
    // Style 1: near the rounding steps; 2: a dark image.
    if (style == 1)
        return (uint16_t)std::min(65535u, 257 * random.below(256) + 126 + random.below(5));
    return (uint16_t)random.below(style == 2 ? 4096 : 65536);
}

int16_t drawInt16(SplitMix64& random, uint32_t style)
{
    return (int16_t)(drawUint16(random, style) - 32768);
}

template <typename Float>
Float drawFloat(SplitMix64& random, uint32_t style)
{
    static const std::vector<Float> edgeValues = floatEdgeValues<Float>();
    if (random.below(32) == 0)
        return edgeValues[random.below((uint32_t)edgeValues.size())];
    switch (style) {
    case 0: return (Float)random.unit();                 // intensities
    case 1: return (Float)(random.unit() * 256.0);       // grey levels
    default: return (Float)(random.below(256) / 255.0);  // intensities on levels
    }
}

uint8_t drawLogical(SplitMix64& random, uint32_t style)
{
    return random.below(style + 2) == 0 ? 1 : 0;
}

}  // namespace

const std::vector<ClassCase>& classEdgeCases()
{
    static const std::vector<ClassCase> cases = makeClassEdgeCases();
    return cases;
}

std::vector<ClassCase> randomClassImages(uint64_t seed, int count)
{
    SplitMix64 random(seed);
    std::vector<ClassCase> cases;
    for (int i = 0; i < count; ++i) {
        const mxClassID classId = acceptedClasses()[(size_t)i % acceptedClasses().size()];
        const size_t rows = random.below(41), columns = random.below(41);
        const size_t n = rows * columns;
        const std::string what = "random image " + std::to_string(i) + ", " +
                                 std::to_string(rows) + " x " + std::to_string(columns);
        switch (classId) {
        case mxDOUBLE_CLASS:
            cases.push_back(imageOf(what, classId, rows, columns,
                                    randomElements<double>(random, n, drawFloat<double>)));
            break;
        case mxSINGLE_CLASS:
            cases.push_back(imageOf(what, classId, rows, columns,
                                    randomElements<float>(random, n, drawFloat<float>)));
            break;
        case mxUINT8_CLASS:
            cases.push_back(
                imageOf(what, classId, rows, columns, randomElements<uint8_t>(random, n, drawByte)));
            break;
        case mxUINT16_CLASS:
            cases.push_back(imageOf(what, classId, rows, columns,
                                    randomElements<uint16_t>(random, n, drawUint16)));
            break;
        case mxINT16_CLASS:
            cases.push_back(imageOf(what, classId, rows, columns,
                                    randomElements<int16_t>(random, n, drawInt16)));
            break;
        case mxLOGICAL_CLASS:
            cases.push_back(imageOf(what, classId, rows, columns,
                                    randomElements<uint8_t>(random, n, drawLogical)));
            break;
        default:
            if (!isWholeRangeClass(classId))
                throw std::logic_error(std::string("no random elements for class ") +
                                       classNameOf(classId));
            cases.push_back(randomWholeRangeImage(random, what, classId, rows, columns));
        }
    }
    return cases;
}

std::vector<size_t> scratchBytesOf(mxClassID classId, size_t elementCount)
{
    // The table (256 doubles) and the histogram (256 32-bit counts), then the
    // class's level array where it has one.
    std::vector<size_t> bytes = {2048, 1024};
#define VESK_SCRATCH_BYTES(Enum, name, Element, levelBytes, hostClass, ...) \
    if (classId == hostClass && levelBytes != 0)                           \
        bytes.push_back((size_t)levelBytes * elementCount);
    VESK_IMAGE_CLASSES(VESK_SCRATCH_BYTES)
#undef VESK_SCRATCH_BYTES
    return bytes;
}

namespace {

template <typename Element>
standin::InputMatrix rowOf(mxClassID classId, std::vector<Element> values)
{
    return standin::numericMatrix(classId, 1, values.size(), values);
}

std::vector<WarningCase> makeWarningCases()
{
    const mxClassID D = mxDOUBLE_CLASS, S = mxSINGLE_CLASS;
    const double nan = NAN, inf = INFINITY;
    const Plugin V = Plugin::Vesk, V2 = Plugin::Vesk2;
    return {
        // Vesk: intensities where grey levels belong.
        {"intensities 0..1", V, rowOf<double>(D, {0, 0.25, 0.5, 1}), "intensityScale"},
        {"single intensities 0..1", V, rowOf<float>(S, {0, 0.25f, 0.5f, 1}), "intensityScale"},
        {"intensities all strictly between 0 and 1", V, rowOf<double>(D, {0.2, 0.7}),
         "intensityScale"},
        {"one intensity", V, rowOf<double>(D, {0.5}), "intensityScale"},
        {"a binary 0/1 image", V, rowOf<double>(D, {0, 1, 1, 0}), ""},
        {"a single binary 0/1 image", V, rowOf<float>(S, {1, 0}), ""},
        {"only zeros", V, rowOf<double>(D, {0, 0, -0.0}), ""},
        {"a value above 1 among intensities", V, rowOf<double>(D, {0, 0.5, 1.5}), ""},
        {"a negative value among intensities", V, rowOf<double>(D, {-0.5, 0.5}), ""},
        {"NaN among intensities", V, rowOf<double>(D, {0.5, nan}), ""},
        {"grey levels", V, rowOf<double>(D, {0, 0.5, 17, 255}), ""},
        {"uint8 0 and 1", V, rowOf<uint8_t>(mxUINT8_CLASS, {0, 1}), ""},
        {"logical", V, rowOf<uint8_t>(mxLOGICAL_CLASS, {0, 1}), ""},
        {"empty", V, rowOf<double>(D, {}), ""},
        // Vesk2: grey levels where intensities belong.
        {"grey levels 0..255", V2, rowOf<double>(D, {0, 17, 128, 255}), "greyLevelScale"},
        {"single grey levels 0..255", V2, rowOf<float>(S, {0, 17, 128, 255}), "greyLevelScale"},
        {"whole numbers 0..2", V2, rowOf<double>(D, {0, 1, 2}), "greyLevelScale"},
        {"one grey level", V2, rowOf<double>(D, {3}), "greyLevelScale"},
        {"negative whole numbers beside grey levels", V2, rowOf<double>(D, {-4, 0, 9}),
         "greyLevelScale"},
        {"a binary 0/1 image", V2, rowOf<double>(D, {0, 1, 1, 0}), ""},
        {"only ones", V2, rowOf<double>(D, {1, 1}), ""},
        {"a fraction among grey levels", V2, rowOf<double>(D, {0, 128, 254.5}), ""},
        {"infinity among grey levels", V2, rowOf<double>(D, {0, 128, inf}), ""},
        {"NaN among grey levels", V2, rowOf<double>(D, {nan, 128, 255}), ""},
        {"whole numbers that all fall into level 0", V2, rowOf<double>(D, {0, 1e10}), ""},
        {"intensities", V2, rowOf<double>(D, {0, 0.5, 1}), ""},
        {"uint8 grey levels", V2, rowOf<uint8_t>(mxUINT8_CLASS, {0, 128, 255}), ""},
        {"uint16 image", V2, rowOf<uint16_t>(mxUINT16_CLASS, {0, 2, 65535}), ""},
        {"empty", V2, rowOf<double>(D, {}), ""},
    };
}

}  // namespace

const std::vector<WarningCase>& warningCases()
{
    static const std::vector<WarningCase> cases = makeWarningCases();
    return cases;
}

std::vector<std::string> warningIdentifiers(const standin::CallReport& report)
{
    std::vector<std::string> identifiers;
    for (const standin::HostWarning& warning : report.warnings)
        identifiers.push_back(warning.identifier);
    return identifiers;
}

void PrintTo(const ClassCase& c, std::ostream* out)
{
    *out << c.what;
}

void PrintTo(const WarningCase& c, std::ostream* out)
{
    *out << nameOf(c.plugin) << " " << c.what;
}

}  // namespace test_support
