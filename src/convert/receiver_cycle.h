// One receiver cycle of a multi-system log: what the sentences of one UTC
// time of day said, whatever the order and the talkers they came in. Each
// sentence adds what it carries; the first GGA, GNS, RMC, GLL, VTG, ZDA, GST
// and GSA of a cycle give its values (a second one of another talker describes the same
// fix), the satellites in view gather from every GSV, and the used ones from
// every GSA of the cycle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "convert/satellite_numbering.h"
#include "convert/sentence_layouts.h"
#include "output/fix_record.h"
#include "state/epoch_record.h"

namespace quorval {

// Satellites one cycle can hold in view and in use: more than four full
// constellations show at once, and the table prints at most 64.
constexpr int kCycleSatellites = 128;
// Ids of the number space below this are found by their place in the
// cycle's lists at once; a cycle of four systems names a hundred signals.
constexpr int kIndexedIds = 1024;
static_assert(kCycleSatellites <= 256, "a place fits a byte");
// Satellites on each of their signals in one cycle: four systems of three
// signals each name some 120.
constexpr int kCycleSignals = 384;

// A position fix as GGA or GNS gives it.
struct CycleFix {
  bool positioned;  // its latitude and longitude are numbers
  double latitude, longitude, msl, alt, hdop;
  int16_t quality, inFix;
};

// ClearCycle zeroes the cycle up to inView in one stroke, so every value a
// sentence gives must stand before inView; the lists and marks after it are
// emptied by their counts and the cycle's number.
struct ReceiverCycle {
  // GGA, and GNS (whose modes per system give a quality as GGA's), the first
  // of each in the cycle. A GGA, GNS, RMC or GLL whose latitude or longitude
  // is not a number carries no position.
  bool hasGga;
  CycleFix gga;
  bool hasGns;
  CycleFix gns;
  char gnsModes[8];  // one per system, as sent, terminated
  // RMC: position, speed, course, date, status (A valid), and the mode
  // indicator and navigational status of NMEA 2.3 and 4.10 ('\0' unsent).
  bool hasRmc, rmcValid, rmcDated, rmcPositioned;
  double rmcLatitude, rmcLongitude, rmcSpeed, rmcCourse;
  int16_t rmcDay, rmcMonth, rmcYear;
  char rmcMode, rmcNavigationalStatus;
  // GLL: position and status.
  bool hasGll, gllValid, gllPositioned;
  double gllLatitude, gllLongitude;
  bool hasVtg;
  double vtgSpeed, vtgCourse;
  bool zdaDated;
  int16_t zdaDay, zdaMonth, zdaYear;
  bool hasGsa;
  int16_t fixMode;
  double pdop, hdop, vdop;
  // GST of the cycle's time: the receiver's error estimates (1 sigma, m).
  bool hasGst;
  double latitudeError, longitudeError, altitudeError;
  bool gsvSeen;
  // The same values as sent (when keepsText), for the tables that lose nothing, and which
  // sentence gave the position and the mode (higher ranks win).
  FixRecord sent;
  int8_t positionRank, modeRank;

  // In view, each satellite once, in the order the cycle first named them;
  // used, each id once.
  SatelliteEntry inView[kCycleSatellites];
  int inViewCount;
  int16_t used[kCycleSatellites];
  int usedCount;
  // For ids below kIndexedIds, marked with the cycle's number: the place in
  // inView (the number times 256 plus the place), and whether the id is
  // used (the number); an entry of another number says nothing. Other ids
  // are looked up in the lists. A new cycle needs only a new number.
  uint32_t number;
  uint32_t inViewMark[kIndexedIds];
  uint32_t usedMark[kIndexedIds];
  // Whether the sentences' text is kept in sent: for the tables that show
  // it, not for the classic layout's rows.
  bool keepsText;
  // Each satellite on each signal once, as sent, when keepsSignals: marked
  // like inView, with a bit per signal id (0-F, and none).
  bool keepsSignals;
  SignalRecord perSignal[kCycleSignals];
  int signalCount;
  uint32_t signalMark[kIndexedIds];
  uint32_t signalBits[kIndexedIds];
};

// The numbers a cycle's marks hold, 1 to kCycleNumbers - 1.
constexpr uint32_t kCycleNumbers = uint32_t{1} << 24;

// Empties a cycle for the next one; a cycle starts out zero-initialised and
// is emptied before its first sentence.
void ClearCycle(ReceiverCycle& cycle);

// What a decoded sentence adds to the cycle; system is its talker's.
void AddGga(ReceiverCycle& cycle, const GgaFields& sentence);
void AddGns(ReceiverCycle& cycle, const GnsFields& sentence);
void AddRmc(ReceiverCycle& cycle, const RmcFields& sentence);
void AddGll(ReceiverCycle& cycle, const GllFields& sentence);
void AddVtg(ReceiverCycle& cycle, const VtgFields& sentence);
void AddZda(ReceiverCycle& cycle, const ZdaFields& sentence);
void AddGst(ReceiverCycle& cycle, const GstFields& sentence);
void AddGsa(ReceiverCycle& cycle, const GsaFields& sentence, SatelliteSystem system);
void AddGsv(ReceiverCycle& cycle, const GsvFields& sentence, SatelliteSystem system);

// Whether the cycle holds a fix: its GGA reports a fix quality; without
// GGA, its GNS a mode of a fix; without either, its RMC or else its GLL says
// its data are valid. And one of them carries a position.
bool HasFix(const ReceiverCycle& cycle);

// Sets the used flag of every kept signal: a GSA of the cycle lists its
// satellite.
void MarkUsedSignals(ReceiverCycle& cycle);

// The cycle as the table's row shows it: the record's fields (not its
// satellites or used ids, which the row takes from the slots), and the
// satellites in view as the row's slots, their used flags set in place.
// Returns the slots; filled is their number.
const SatelliteEntry* FillRow(ReceiverCycle& cycle, double timeOfDay, EpochRecord& row, int& filled);

}  // namespace quorval
