// A synthetic 1 Hz receiver log for throughput measurements: every second a
// GGA, a GSA, three GSV, an RMC and a VTG sentence of one vehicle moving on
// a smooth track, with valid checksums and CR LF line ends. The same size
// always gives the same bytes.
//
// Its multi-system variant is what a receiver of today sends each second:
// GNRMC, GNVTG, GNGGA, one GNGSA per system with the NMEA 4.10 system id,
// the GSV of GPS, GLONASS, Galileo and BeiDou once per signal (NMEA 4.11,
// each message ending in its signal id), and GNZDA.
#pragma once

#include <cstdint>
#include <cstdio>

enum class SyntheticLog { kGps, kAllSystems };

// Writes exactly size bytes of log to out. Whole sentences are written while
// they fit; the few bytes left over become blank lines. Returns 0, or -1
// when a write failed.
int WriteSyntheticLog(FILE* out, int64_t size, SyntheticLog kind = SyntheticLog::kGps);
