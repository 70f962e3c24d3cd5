// The one table of the image classes both plug-ins take, and the one table
// of the integer classes they refuse. Everything that depends on the class
// (the enumeration, the scratch sizes, the counting and look-up passes, the
// accepted-class check and its sentence, the refusals' advice, the gateways'
// accessors, the test tables' class lists) is generated from them: accepting
// a refused integer class is moving its row from VESK_REFUSED_INTEGER_CLASSES
// to VESK_IMAGE_CLASSES (its levels then follow from the whole-range rule of
// image_class.h, unless it has a ClassLevel of its own), plus its tests and
// the help texts.
//
// Columns of a row X(...):
//   Enum        the enumerator of ImageClass (and of ArgumentClass, call_checks.h)
//   name        the host's name of the class, as the messages say it
//   Element     the C type of one element (logical: one byte, non-zero is true)
//   levelBytes  bytes of level array per element: 4 (the double pass keeps
//               32-bit levels), 1 (byte levels), 0 (none: every byte value's
//               level is looked up in a table of 256)
//   hostClass   MATLAB's class identifier (mxClassID), for the MEX side
//   accessor    octave_value's typed-array accessor, for the Octave gateway
//   colourLeadIn, colourToGrey
//               advice for an image of more than two dimensions:
//               "<leadIn> Vesk(<toGrey>), or pass one channel, ..."
//               (rgb2gray takes no logical image, nor, in MATLAB, an int16)
#ifndef VESK_CORE_IMAGE_CLASSES_H
#define VESK_CORE_IMAGE_CLASSES_H

#include <stdint.h>

#define VESK_TO_GREY_FIRST "Convert a colour image to grey first, for example"

#define VESK_IMAGE_CLASSES(X)                                                                     \
    X(Double, "double", double, 4, mxDOUBLE_CLASS, array_value, VESK_TO_GREY_FIRST,              \
      "rgb2gray(img)")                                                                            \
    X(Single, "single", float, 1, mxSINGLE_CLASS, float_array_value, VESK_TO_GREY_FIRST,         \
      "rgb2gray(img)")                                                                            \
    X(Uint8, "uint8", uint8_t, 0, mxUINT8_CLASS, uint8_array_value, VESK_TO_GREY_FIRST,          \
      "rgb2gray(img)")                                                                            \
    X(Uint16, "uint16", uint16_t, 1, mxUINT16_CLASS, uint16_array_value, VESK_TO_GREY_FIRST,     \
      "rgb2gray(img)")                                                                            \
    X(Int16, "int16", int16_t, 1, mxINT16_CLASS, int16_array_value, VESK_TO_GREY_FIRST,          \
      "rgb2gray(im2uint16(img))")                                                                 \
    X(Logical, "logical", uint8_t, 0, mxLOGICAL_CLASS, bool_array_value,                         \
      "For a binary colour image pass", "any(img, 3)")

// The integer classes both plug-ins refuse, each with the conversion of its
// whole range that each plug-in's refusal advises (onto grey levels 0..255
// for Vesk, intensities 0..1 for Vesk2). Columns of a row X(...):
//   Enum        the enumerator of ArgumentClass (call_checks.h)
//   name        the host's name of the class
//   veskAdvice, vesk2Advice
//               what to pass instead
#define VESK_REFUSED_INTEGER_CLASSES(X)                                                            \
    X(Int8, "int8", "Vesk(double(img) + 128)", "Vesk2((double(img) + 128) / 255)")               \
    X(Int32, "int32", "Vesk((double(img) + 2^31) / 16843009)",                                   \
      "Vesk2((double(img) + 2^31) / (2^32 - 1))")                                                 \
    X(Uint32, "uint32", "Vesk(double(img) / 16843009)", "Vesk2(double(img) / (2^32 - 1))")       \
    X(Int64, "int64", "Vesk((double(img) + 2^63) / 72340172838076673)",                          \
      "Vesk2((double(img) + 2^63) / (2^64 - 1))")                                                 \
    X(Uint64, "uint64", "Vesk(double(img) / 72340172838076673)", "Vesk2(double(img) / (2^64 - 1))")

namespace vesk {

#define VESK_CLASS_ENUMERATOR(Enum, ...) Enum,
enum class ImageClass { VESK_IMAGE_CLASSES(VESK_CLASS_ENUMERATOR) };
#undef VESK_CLASS_ENUMERATOR

// What the table says of one class, for code that takes the class as a
// template argument.
template <ImageClass imageClass>
struct ClassTraits;

#define VESK_CLASS_TRAITS(Enum, name_, Element_, levelBytes_, ...) \
    template <>                                                    \
    struct ClassTraits<ImageClass::Enum> {                         \
        typedef Element_ Element;                                  \
        static constexpr ImageClass imageClass = ImageClass::Enum; \
        static constexpr int32_t levelBytes = levelBytes_;         \
        static constexpr const char* name = name_;                 \
    };
VESK_IMAGE_CLASSES(VESK_CLASS_TRAITS)
#undef VESK_CLASS_TRAITS

// visit(ClassTraits<imageClass>()) for the class of a call: the one switch
// over the classes, generated from the table.
template <typename Visit>
static inline auto visitImageClass(ImageClass imageClass, Visit visit)
    -> decltype(visit(ClassTraits<ImageClass::Double>()))
{
    switch (imageClass) {
#define VESK_CLASS_CASE(Enum, ...) \
    case ImageClass::Enum: return visit(ClassTraits<ImageClass::Enum>());
        VESK_IMAGE_CLASSES(VESK_CLASS_CASE)
#undef VESK_CLASS_CASE
    }
    return visit(ClassTraits<ImageClass::Double>());  // not reached: every class has its case
}

static inline bool isFloatingPointClass(ImageClass imageClass)
{
    return imageClass == ImageClass::Double || imageClass == ImageClass::Single;
}

// Bytes of level array per element; 0: the class needs none.
static inline int32_t levelBytesPerElement(ImageClass imageClass)
{
    return visitImageClass(imageClass, [](auto traits) { return traits.levelBytes; });
}

// "double", "uint16", ...
static inline const char* imageClassName(ImageClass imageClass)
{
    return visitImageClass(imageClass, [](auto traits) { return traits.name; });
}

}  // namespace vesk

#endif
