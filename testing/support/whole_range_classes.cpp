#include "whole_range_classes.h"

#include <string.h>

#include <limits>
#include <stdexcept>
#include <string>

namespace test_support {

namespace {

// work(Element()) with the C type of a whole-range class.
template <typename Work>
auto withElementType(mxClassID classId, Work work)
{
    switch (classId) {
    case mxINT8_CLASS: return work(int8_t());
    case mxINT32_CLASS: return work(int32_t());
    case mxUINT32_CLASS: return work(uint32_t());
    case mxINT64_CLASS: return work(int64_t());
    case mxUINT64_CLASS: return work(uint64_t());
    default: throw std::logic_error("not a whole-range class");
    }
}

}  // namespace

bool isWholeRangeClass(mxClassID classId)
{
    return classId == mxINT8_CLASS || classId == mxINT32_CLASS || classId == mxUINT32_CLASS ||
           classId == mxINT64_CLASS || classId == mxUINT64_CLASS;
}

double wholeRangeConverted(Plugin plugin, const standin::InputMatrix& image, size_t k)
{
    const double top = plugin == Plugin::Vesk ? 255.0 : 1.0;
    return withElementType(image.classId, [&](auto zero) {
        typedef decltype(zero) Element;
        Element value;
        memcpy(&value, image.data.data() + k * sizeof value, sizeof value);
        const double lowest = (double)std::numeric_limits<Element>::min();
        const double range = (double)std::numeric_limits<Element>::max() - lowest;
        return ((double)value - lowest) / (range / top);
    });
}

void addWholeRangeEdgeCases(std::vector<ClassCase>& cases, mxClassID classId)
{
    withElementType(classId, [&](auto zero) {
        typedef decltype(zero) Element;
        typedef std::numeric_limits<Element> Limits;
        const double lowest = (double)Limits::min(), range = (double)Limits::max() - lowest;
        std::vector<Element> values = {Limits::min(), Limits::max(), Element(0)};
        for (int level = 1; level < 256; ++level) {
            const double step = lowest + range / 255.0 * level;
            for (double offset : {-2.0, -1.0, 0.0, 1.0})
                if (step + offset >= lowest && step + offset <= (double)Limits::max())
                    values.push_back((Element)(step + offset));
        }
        if (values.size() % 2 == 0)
            values.push_back(Element(0));
        const std::string name = classNameOf(classId);
        cases.push_back({name + " both sides of every level step",
                         standin::numericMatrix(classId, values.size(), 1, values)});
        for (size_t rows : {0, 3})
            for (size_t columns : {0, 3})
                if (rows * columns == 0)
                    cases.push_back({name + " empty " + std::to_string(rows) + " x " +
                                         std::to_string(columns),
                                     standin::numericMatrix(classId, rows, columns,
                                                            std::vector<Element>())});
        cases.push_back({name + " 1 x 1", standin::numericMatrix(classId, 1, 1,
                                                                 std::vector<Element>{Limits::max()})});
        return 0;
    });
}

ClassCase randomWholeRangeImage(SplitMix64& random, std::string what, mxClassID classId,
                                size_t rows, size_t columns)
{
    return withElementType(classId, [&](auto zero) {
        typedef decltype(zero) Element;
        std::vector<Element> values(rows * columns);
        for (Element& value : values) {
            const uint64_t bits = random.next();
            memcpy(&value, &bits, sizeof value);
        }
        return ClassCase{classNameOf(classId) + (" " + what),
                         standin::numericMatrix(classId, rows, columns, values)};
    });
}

}  // namespace test_support
