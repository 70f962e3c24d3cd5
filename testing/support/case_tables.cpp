#include "case_tables.h"

#include <math.h>

#include <algorithm>

namespace test_support {

const char* nameOf(Plugin plugin)
{
    return plugin == Plugin::Vesk ? "Vesk" : "Vesk2";
}

void PrintTo(Plugin plugin, std::ostream* out)
{
    *out << nameOf(plugin);
}

std::vector<double> secondOutputOf(const ExactCase& c)
{
    std::vector<double> values(c.plugin == Plugin::Vesk ? 101 : 1, 0.0);
    for (const auto& element : c.second)
        values[(size_t)element.first] = element.second;
    return values;
}

namespace {

const double kNaN = NAN;
const double kInf = INFINITY;

// n copies of a, then m copies of b.
std::vector<double> runs(size_t n, double a, size_t m, double b)
{
    std::vector<double> values(n, a);
    values.insert(values.end(), m, b);
    return values;
}

std::vector<ExactCase> makeExactCases()
{
    return {
        // Contrasts 5, 7, 10 at levels 0, 2, 3; normaliser 10.
        {"Vesk worked example", Plugin::Vesk, 1, 5, {0, 0, 0, 2, 3},
         {0.5, 0.5, 0.5, 0.7, 1.0}, {{50, 3.0}, {70, 1.0}}},
        // 29 / 50 * 100 is 57.99999999999999: bucket 57.
        {"Vesk buckets divide first: 29 / 50 falls into 57", Plugin::Vesk, 1, 3, {0, 8, 29},
         {37.0 / 50, 29.0 / 50, 1.0}, {{57, 1.0}, {74, 1.0}, {100, 8 / 255.0}}},
        // 100 elements of level 0 (contrast 29) and 29 of level 1 (contrast 100):
        // 29 / 100 * 100 is 28.999999999999996, bucket 28.
        {"Vesk buckets divide first: 29 / 100 falls into 28", Plugin::Vesk, 129, 1,
         runs(100, 0.0, 29, 1.0), runs(100, 29.0 / 100, 29, 1.0), {{28, 100.0}}},
        // One level: contrast 0, normaliser 0.001, everything in bucket 0.
        {"Vesk uniform image", Plugin::Vesk, 2, 3, {77, 77, 77, 77, 77, 77},
         {0, 0, 0, 0, 0, 0}, {{0, 6.0}, {100, 77 / 255.0}}},
        // 10.9 and 10.2 are level 10, -0.5 is level 0.
        {"Vesk truncates toward zero", Plugin::Vesk, 3, 1, {10.9, 10.2, -0.5},
         {0.5, 0.5, 1.0}, {{50, 2.0}, {100, 10 / 255.0}}},
        // A level that does not occur between two that do changes nothing.
        {"Vesk gap between levels", Plugin::Vesk, 1, 3, {0, 0, 200}, {0.5, 0.5, 1.0},
         {{50, 2.0}}},
        // 256 and 2^31 - 1 clamp to 255; -1, 1e300, 2^31, NaN and the infinities give 0.
        {"Vesk clamps values outside 0..255", Plugin::Vesk, 2, 5,
         {256, -1, 1e300, kNaN, kInf, -kInf, 255, 0, 2147483647.0, 2147483648.0},
         {1.0, 765 / 1785.0, 765 / 1785.0, 765 / 1785.0, 765 / 1785.0, 765 / 1785.0, 1.0,
          765 / 1785.0, 1.0, 765 / 1785.0},
         {{42, 7.0}}},
        // Ties for the smallest contrast: element 100 is the lowest tied level,
        // whatever the C library's sort does with equal contrasts.
        {"Vesk tie of levels 0 and 255 takes 0", Plugin::Vesk, 1, 2, {0, 255}, {1.0, 1.0}, {}},
        {"Vesk tie of two levels twice each takes the lower", Plugin::Vesk, 2, 2,
         {0, 255, 0, 255}, {1.0, 1.0, 1.0, 1.0}, {}},
        // Contrasts 45, 37, 31, 27, 25, 25, 27, 31, 37, 45: every contrast but
        // the largest is shared by two levels; 4 and 5 tie for the smallest.
        {"Vesk symmetric histogram 0..9 takes level 4", Plugin::Vesk, 1, 10,
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
         {1.0, 37 / 45.0, 31 / 45.0, 27 / 45.0, 25 / 45.0, 25 / 45.0, 27 / 45.0, 31 / 45.0,
          37 / 45.0, 1.0},
         {{55, 2.0}, {60, 2.0}, {68, 2.0}, {82, 2.0}, {100, 4 / 255.0}}},
        {"Vesk tie of 20 and 30 in 10 20 30 40 takes 20", Plugin::Vesk, 4, 1, {10, 20, 30, 40},
         {1.0, 40 / 60.0, 40 / 60.0, 1.0}, {{66, 2.0}, {100, 20 / 255.0}}},
        {"Vesk tie of 100 and 155 in 0 100 155 255 takes 100", Plugin::Vesk, 2, 2,
         {0, 100, 155, 255}, {1.0, 310 / 510.0, 310 / 510.0, 1.0}, {{60, 2.0}, {100, 100 / 255.0}}},
        {"Vesk empty image", Plugin::Vesk, 0, 0, {}, {}, {}},
        {"Vesk empty image with columns", Plugin::Vesk, 0, 4, {}, {}, {}},
        {"Vesk2 worked example", Plugin::Vesk2, 1, 5, {0, 0, 0, 2 / 255.0, 3 / 255.0},
         {-0.5, -0.5, -0.5, 0.7, 1.0}, {}},
        {"Vesk2 equal smallest contrasts take the lower level", Plugin::Vesk2, 1, 2, {0, 1},
         {-1.0, 1.0}, {}},
        {"Vesk2 uniform image is -0.0 everywhere", Plugin::Vesk2, 2, 2, {0.5, 0.5, 0.5, 0.5},
         {-0.0, -0.0, -0.0, -0.0}, {{0, 127 / 255.0}}},
        {"Vesk2 levels below the least-contrast level are negative", Plugin::Vesk2, 1, 4,
         {0, 0.5, 0.5, 1}, {-509 / 511.0, -255 / 511.0, -255 / 511.0, 1.0}, {{0, 127 / 255.0}}},
        // 0.999 -> 254; 1.5 and 256/255 -> 255; the rest -> 0.
        {"Vesk2 quantises every double", Plugin::Vesk2, 2, 4,
         {0.999, 1.5, -0.2, kNaN, kInf, -kInf, 1e10, 256 / 255.0},
         {1272 / 1276.0, 1.0, -764 / 1276.0, -764 / 1276.0, -764 / 1276.0, -764 / 1276.0,
          -764 / 1276.0, 1.0},
         {}},
        {"Vesk2 empty image", Plugin::Vesk2, 0, 3, {}, {}, {}},
    };
}

standin::InputMatrix withFlags(standin::InputMatrix input, bool complex, bool sparse)
{
    input.complex = complex;
    input.sparse = sparse;
    return input;
}

const std::vector<RefusedIntegerClass> kRefusedIntegerClasses = {
    {mxINT8_CLASS, "int8", "Int8", "Vesk(double(img) + 128)", "Vesk2((double(img) + 128) / 255)"},
    {mxINT32_CLASS, "int32", "Int32", "Vesk((double(img) + 2^31) / 16843009)",  // (2^32 - 1) / 255
     "Vesk2((double(img) + 2^31) / (2^32 - 1))"},
    {mxUINT32_CLASS, "uint32", "Uint32", "Vesk(double(img) / 16843009)",
     "Vesk2(double(img) / (2^32 - 1))"},
    {mxINT64_CLASS, "int64", "Int64",
     "Vesk((double(img) + 2^63) / 72340172838076673)",  // (2^64 - 1) / 255
     "Vesk2((double(img) + 2^63) / (2^64 - 1))"},
    {mxUINT64_CLASS, "uint64", "Uint64", "Vesk(double(img) / 72340172838076673)",
     "Vesk2(double(img) / (2^64 - 1))"},
};

std::vector<Rejection> makeRejections()
{
    using standin::hugeMatrix;
    using standin::matrixOfClass;
    const standin::InputMatrix small = standin::doubleMatrix(2, 2, {0.1, 0.2, 0.3, 0.4});
    const standin::InputMatrix rgb = matrixOfClass(mxDOUBLE_CLASS, {4, 4, 3});
    std::vector<Rejection> cases = {
        {"NoInput", {}, 1, "nargin",
         {"$ takes exactly one input, a greyscale image, but was given 0.", "= $(img)."}},
        {"TwoInputs", {small, small}, 1, "nargin", {"but was given 2."}},
        {"ThreeOutputs", {small}, 3, "nargout",
         {"$ returns at most two outputs", "but 3 were asked for."}},
        // An RGB image of any class gets one refusal, with advice that works for its class.
        {"Uint8Rgb", {matrixOfClass(mxUINT8_CLASS, {4, 4, 3})}, 2, "notMatrix",
         {"but the input has 3 dimensions.", "$(rgb2gray(img))", "$(img(:,:,1))"}},
        {"Uint16Rgb", {matrixOfClass(mxUINT16_CLASS, {4, 4, 3})}, 1, "notMatrix",
         {"$(rgb2gray(img))"}},
        {"SingleRgb", {matrixOfClass(mxSINGLE_CLASS, {4, 4, 3})}, 1, "notMatrix",
         {"$(rgb2gray(img))"}},
        // rgb2gray takes no int16 image in MATLAB, im2uint16 keeps its levels.
        {"Int16Rgb", {matrixOfClass(mxINT16_CLASS, {4, 4, 3})}, 1, "notMatrix",
         {"$(rgb2gray(im2uint16(img)))"}},
        // rgb2gray takes no logical image at all.
        {"LogicalRgb", {matrixOfClass(mxLOGICAL_CLASS, {4, 4, 3})}, 1, "notMatrix",
         {"$(any(img, 3))", "$(img(:,:,1))"}},
        {"ComplexInt8", {withFlags(matrixOfClass(mxINT8_CLASS, {2, 2}), true, false)}, 1,
         "unsupportedClass", {"of class int8."}},
        {"SparseLogical", {withFlags(matrixOfClass(mxLOGICAL_CLASS, {2, 2}), false, true)}, 1,
         "sparse", {"full(img)"}},
        {"ComplexSingle", {withFlags(matrixOfClass(mxSINGLE_CLASS, {2, 2}), true, false)}, 1,
         "complex", {"real(img)"}},
        {"Complex", {withFlags(small, true, false)}, 1, "complex",
         {"$ needs a real matrix, but the image is complex.", "real(img) or abs(img)"}},
        {"ComplexRgb", {withFlags(rgb, true, false)}, 2, "complex", {"is complex."}},
        {"Sparse", {withFlags(small, false, true)}, 1, "sparse",
         {"$ needs a full matrix, but the image is sparse.", "full(img)"}},
        {"SparseComplex", {withFlags(small, true, true)}, 1, "sparse", {"full(img)"}},
        {"RgbImage", {rgb}, 1, "notMatrix",
         {"$ needs a 2-D greyscale image, but the input has 3 dimensions.", "rgb2gray(img)",
          "img(:,:,1)"}},
        {"FourDimensional", {matrixOfClass(mxDOUBLE_CLASS, {2, 2, 1, 2})}, 2, "notMatrix",
         {"has 4 dimensions."}},
        {"EmptyThreeDimensional", {matrixOfClass(mxDOUBLE_CLASS, {0, 4, 3})}, 1, "notMatrix",
         {"3 dimensions"}},
        {"ElementsPast2To31", {hugeMatrix(65536, 32768)}, 1, "tooLarge", {"65536 x 32768"}},
        {"SquarePast2To31", {hugeMatrix(46341, 46341)}, 2, "tooLarge",
         {"$ handles at most 2147483647 (2^31 - 1) elements, each dimension below 2^31, but the "
          "image is 46341 x 46341.",
          "process it in tiles of fewer elements: each tile then gets its own contrast map"}},
        {"RowsOf2To31", {hugeMatrix(2147483648u, 1)}, 1, "tooLarge",
         {"each dimension below 2^31", "not the whole image's."}},
        {"ColumnsOf2To31", {hugeMatrix(1, 2147483648u)}, 2, "tooLarge", {"1 x 2147483648."}},
        {"RowsOf2To32", {hugeMatrix(4294967296u, 1)}, 2, "tooLarge", {"4294967296 x 1."}},
        // Only the low 32 bits of 2^32 + 1 would read as 1.
        {"RowsWhoseLow32BitsAreSmall", {hugeMatrix(4294967297u, 1)}, 1, "tooLarge",
         {"4294967297 x 1"}},
        {"EmptyWithColumnsOf2To32", {hugeMatrix(0, 4294967296u)}, 1, "tooLarge",
         {"0 x 4294967296"}},
    };
    // Integer classes: the advice maps the class's range onto the plug-in's
    // (the conversions themselves differ per plug-in; the gateway test and the
    // Octave suite check each one); in colour the refusal is still the class's.
    for (const RefusedIntegerClass& c : refusedIntegerClasses()) {
        cases.push_back({c.caseName, {matrixOfClass(c.classId, {2, 3})}, 1, "unsupportedClass",
                         {std::string("$ takes images of class ") + kAcceptedClassesSentence +
                              ", but the image is of class " + c.name + ".",
                          std::string("maps the whole ") + c.name + " range onto them",
                          "$(double(img)) if its values already are"}});
        cases.push_back({std::string(c.caseName) + "Rgb",
                         {matrixOfClass(c.classId, {4, 4, 3})}, 1, "unsupportedClass",
                         {std::string("of class ") + c.name + ".",
                          "It also has more than two dimensions", "img(:,:,1)"}});
    }
    // Classes that hold no image at all.
    struct NamedClass {
        mxClassID classId;
        const char* name;
        const char* caseName;
    };
    const NamedClass others[] = {
        {mxCHAR_CLASS, "char", "Char"},
        {mxCELL_CLASS, "cell", "Cell"},
        {mxSTRUCT_CLASS, "struct", "Struct"},
        {mxFUNCTION_CLASS, "function_handle", "FunctionHandle"},
    };
    for (const NamedClass& c : others)
        cases.push_back({c.caseName, {matrixOfClass(c.classId, {2, 3})}, 1, "unsupportedClass",
                         {std::string("$ needs a numeric image matrix, but the input is of class ") +
                              c.name + ".",
                          "$(imread(filename))"}});
    // Objects whose class is named like a numeric or logical one (Octave
    // passes old-style classes by name): refused before a byte is read, with
    // the advice for objects.
    const NamedClass objects[] = {
        {mxDOUBLE_CLASS, "double", "ObjectNamedDouble"},
        {mxSINGLE_CLASS, "single", "ObjectNamedSingle"},
        {mxUINT8_CLASS, "uint8", "ObjectNamedUint8"},
        {mxUINT16_CLASS, "uint16", "ObjectNamedUint16"},
        {mxINT16_CLASS, "int16", "ObjectNamedInt16"},
        {mxLOGICAL_CLASS, "logical", "ObjectNamedLogical"},
        {mxINT32_CLASS, "int32", "ObjectNamedInt32"},
    };
    for (const NamedClass& c : objects) {
        standin::InputMatrix object = matrixOfClass(c.classId, {2, 3});
        object.object = true;
        cases.push_back({c.caseName, {object}, 1, "unsupportedClass",
                         {std::string("$ needs a numeric image matrix, but the input is an object "
                                      "of class ") +
                              c.name + " (or another value that is no numeric or logical array).",
                          "$(double(obj)) where its class defines double", "$(imread(filename))"}});
    }
    return cases;
}

}  // namespace

const std::vector<ExactCase>& exactCases()
{
    static const std::vector<ExactCase> cases = makeExactCases();
    return cases;
}

const char* const kAcceptedClassesSentence = "double, single, uint8, uint16, int16 or logical";

const std::vector<RefusedIntegerClass>& refusedIntegerClasses()
{
    return kRefusedIntegerClasses;
}

const std::vector<Rejection>& rejections()
{
    static const std::vector<Rejection> cases = makeRejections();
    return cases;
}

void PrintTo(const ExactCase& c, std::ostream* out)
{
    *out << c.what;
}

void PrintTo(const Rejection& rejection, std::ostream* out)
{
    *out << rejection.what;
}

std::string withName(std::string text, const std::string& name)
{
    for (size_t at = text.find('$'); at != std::string::npos; at = text.find('$', at + name.size()))
        text.replace(at, 1, name);
    return text;
}

}  // namespace test_support
