// A synthetic 1 Hz receiver log for throughput measurements: every second a
// GGA, a GSA, three GSV, an RMC and a VTG sentence of one vehicle moving on
// a smooth track, with valid checksums and CR LF line ends. The same size
// always gives the same bytes.
#pragma once

#include <cstdint>
#include <cstdio>

// Writes exactly size bytes of log to out. Whole sentences are written while
// they fit; the few bytes left over become blank lines. Returns 0, or -1
// when a write failed.
int WriteSyntheticLog(FILE* out, int64_t size);
