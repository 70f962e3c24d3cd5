// The memory-bandwidth bound of a contrast kernel: the same bytes the kernel
// must move, with no work on them. Pass one reads the input doubles and writes
// the int32 level array; pass two reads the level array and writes the map.
#ifndef VESK_BENCH_STREAM_BOUND_H
#define VESK_BENCH_STREAM_BOUND_H

#include <stdint.h>

void streamSameBytes(const double* input, int32_t* levels, double* map, int32_t elementCount);

#endif
