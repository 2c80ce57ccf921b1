// The multi-system mode (--gnss, Options → All satellite systems): one row
// per fix, each from the sentences of one receiver cycle, of every
// satellite system's talker. ConvertLog hands it each line of the log.
//
// A cycle is one UTC time of day. GGA and RMC carry it in full and a new
// value begins a new cycle; ZDA names only its second, as receivers round
// or offset its fraction, so a ZDA of the same second belongs to the cycle
// in progress. GSA, GSV and VTG carry no time: they belong to the cycle in
// progress when they arrive, for a receiver sends each cycle as one burst
// that opens with its fix sentences (the sentences that open a log, before
// any time, belong to the first cycle). A GGA, RMC or ZDA without a time
// opens a cycle that has none: it and what follows it until the next time
// are never written, since no row can say when they were.
#pragma once

#include <cstdint>
#include <cstdio>

#include "convert/receiver_cycle.h"
#include "output/text_sink.h"
#include "output/track_writer.h"
#include "state/epoch_record.h"

namespace quorval {

struct Conversion;

constexpr int kTrackFormats = 3;

// The tables and tracks a conversion writes. Any may be absent (nullptr).
struct ConversionOutputs {
  FILE* table = nullptr;       // the classic layout: by the classic rules, or one row per fix with --gnss
  FILE* fixes = nullptr;       // one row per cycle with a time, values as sent
  FILE* satellites = nullptr;  // one row per satellite and signal of each such cycle
  FILE* tracks[kTrackFormats] = {};   // GPX, GeoJSON, KML (by TrackFormat) of the cycles with a fix
  FILE* scratch[kTrackFormats] = {};  // for GPX and GeoJSON with points: a file to spill into
  const char* trackName = nullptr;    // the log's name, which names its track
  bool trackPoints = true;            // GeoJSON: a Point feature for every fix too
};

// Where one log's reading of its cycles stands. StartCycles readies it for
// a log.
struct CycleConversion {
  bool checksums; // the log has shown a sentence with a matching checksum
  bool fixTimes;  // the log has shown a GGA, GNS or RMC
  bool open;      // sentences have been gathered into the cycle
  bool timed;     // its time of day is known (to the second at least)
  bool exact;     // the time came from GGA or RMC, not only from ZDA
  bool timeless;  // a sentence without a time opened it: never written
  double time;    // seconds of the day
  double second;  // the whole second of it
  int64_t rows;         // of the classic-layout table
  int64_t fixRows;      // of the fixes table
  int64_t signalRows;   // of the satellites table
  FILE* table;          // the classic-layout table of every system, or nullptr
  bool anyTrack;        // a track of the cycles with a fix is written
  ReceiverCycle cycle;
  EpochRecord row;  // the row being written, filled afresh from the cycle
  TextSink fixes;       // stream nullptr: not written
  TextSink satellites;
  TrackWriter tracks[kTrackFormats];  // out nullptr: not written
  TextSink trackText[kTrackFormats], trackSpill[kTrackFormats];
};

// Ready for a log whose cycles write the given outputs (its table: the
// classic layout's, of every system, when allSystems), the header of each
// new table written.
void StartCycles(CycleConversion& cycles, bool allSystems, const ConversionOutputs& outputs);

// One captured line of the log: its sentence, if it is one of those the
// cycles read, of a satellite system's talker, joins its cycle in
// conversion.cycles, and a cycle that it ends is written: to the classic
// layout's table when it holds a fix (the header before the first row), to
// the fixes and satellites tables when it has a time. broken: a control byte stopped the line's capture inside the
// line. The sentences passed over as cut short are counted in
// conversion.counts, whose detailed flag asks for every VTG's checksum.
// The sentence must be a capture (kSentenceReadAhead bytes readable after
// its terminator).
void ReadCycleSentence(Conversion& conversion, const char* sentence, bool broken);

// At the end of the log: the last cycle is written too. Returns the rows
// of the classic layout's table.
int64_t EndCycles(CycleConversion& cycles);

// The new tables' text written to their streams, before a wait for more of
// the log.
void FlushCycleTables(CycleConversion& cycles);

// A log cut short (cancelled, or unreadable on): the tables keep their rows
// and the tracks are ended with the fixes so far, whole documents.
void EndCyclesCutShort(CycleConversion& cycles);

// Rows written so far in this log (for a conversion cut short).
int64_t CycleRows(const CycleConversion& cycles);

}  // namespace quorval
