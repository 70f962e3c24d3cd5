// The integer classes of the host that have no level rule of their own in
// the plug-ins (int8, int32, uint32, int64, uint64): the plug-ins refuse
// them today, and one they take maps its whole range onto the plug-in's, as
// a refusal's advice does. Written here independently of the plug-ins, so
// that such a class, once in the class table, is tested by the class suites
// without cases of its own.
#ifndef VESK_TESTING_WHOLE_RANGE_CLASSES_H
#define VESK_TESTING_WHOLE_RANGE_CLASSES_H

#include <stddef.h>

#include <vector>

#include "case_tables.h"
#include "class_cases.h"
#include "standin_host.h"

namespace test_support {

bool isWholeRangeClass(mxClassID classId);

// Element k of an image of such a class as the double its plug-in's double
// call takes: (v - min) / ((max - min) / top), top 255 for Vesk, 1 for Vesk2.
double wholeRangeConverted(Plugin plugin, const standin::InputMatrix& image, size_t k);

// Its edge cases: the extremes, 0, both sides of every level step; the
// empty and 1 x 1 shapes.
void addWholeRangeEdgeCases(std::vector<ClassCase>& cases, mxClassID classId);

// A random image of such a class: random bytes, every bit pattern a value.
ClassCase randomWholeRangeImage(SplitMix64& random, std::string what, mxClassID classId,
                                size_t rows, size_t columns);

}  // namespace test_support

#endif
