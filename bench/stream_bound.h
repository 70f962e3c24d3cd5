// The memory-bandwidth bound of a contrast kernel: the same bytes the kernel
// must move, with no work on them. Pass one reads the input doubles and writes
// the int32 level array; pass two reads the level array and writes the map.
#ifndef VESK_BENCH_STREAM_BOUND_H
#define VESK_BENCH_STREAM_BOUND_H

#include <stdint.h>

void streamSameBytes(const double* input, int32_t* levels, double* map, int32_t elementCount);

// The bound of a kernel on a uint8 image, which keeps no level array: pass
// one reads the n input bytes (as the count does), pass two reads them again
// and writes the map. Returns the sum of pass one, so that it is not dropped.
uint64_t streamBytesTwice(const uint8_t* input, double* map, int32_t elementCount);

#endif
