// The one set of navigation values that the sentences of a log accumulate.
// It lives for the whole process: consecutive conversions share it, and only
// the epoch counter is reset when a conversion starts.
#pragma once

#include <cstdint>

namespace quorval {

struct SatelliteEntry {
  int16_t svid;
  int16_t azim;
  int16_t elev;
  int16_t sgnl;
  int16_t used;
};

constexpr int kSatelliteSlots = 32;
constexpr int kUsedIds = 12;

struct UsedSvList {
  int16_t ids[kUsedIds];
  int16_t numused;
};

struct EpochRecord {
  double timeOfDay;
  double longitude;
  double latitude;
  double alt;
  double msl;
  double speedKnots;
  double heading;
  double GGAhdop;
  double pdop;
  double hdop;
  double vdop;
  int16_t sGSAMode;
  int16_t year;
  int16_t month;
  int16_t day;
  int16_t numsvsinfix;
  UsedSvList usedSvs;
  int16_t numsvsview;
  int16_t gpsqual;
  SatelliteEntry satellites[kSatelliteSlots];
};

// Zero at program start (static storage).
extern EpochRecord epochRecord;

// Number of GGA sentences met in the current conversion; 0 selects the header.
extern int32_t EpochCounter;

// Back to the program-start state; for tests that need a fresh process.
void ResetEpochRecord();

}  // namespace quorval
