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
#include "state/epoch_record.h"

namespace quorval {

struct Conversion;

// Where one log's reading of its cycles stands. All zero is the start of a
// log (StartCycles).
struct CycleConversion {
  bool checksums; // the log has shown a sentence with a matching checksum
  bool fixTimes;  // the log has shown a GGA, GNS or RMC
  bool open;      // sentences have been gathered into the cycle
  bool timed;     // its time of day is known (to the second at least)
  bool exact;     // the time came from GGA or RMC, not only from ZDA
  bool timeless;  // a sentence without a time opened it: never written
  double time;    // seconds of the day
  double second;  // the whole second of it
  int64_t rows;
  ReceiverCycle cycle;
  EpochRecord row;  // the row being written, filled afresh from the cycle
};

void StartCycles(CycleConversion& cycles);

// One captured line of the log: its sentence, if it is one of those the
// cycles read, of a satellite system's talker, joins its cycle in conversion.cycles, and a
// cycle that it ends is written when it holds a fix (the header before the
// first row). broken: a control byte stopped the line's capture inside the
// line. The sentences passed over as cut short are counted in
// conversion.counts, whose detailed flag asks for every VTG's checksum.
// The sentence must be a capture (kSentenceReadAhead bytes readable after
// its terminator).
void ReadCycleSentence(Conversion& conversion, const char* sentence, bool broken, FILE* output);

// At the end of the log: the last cycle is written too when it holds a fix.
// Returns the rows written.
int64_t EndCycles(CycleConversion& cycles, FILE* output);

// Rows written so far in this log (for a conversion cut short).
int64_t CycleRows(const CycleConversion& cycles);

}  // namespace quorval
