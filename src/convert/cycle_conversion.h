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

namespace quorval {

void StartCycles();

// One captured line of the log: its sentence, if it is one of the six of a
// satellite system's talker, joins its cycle, and a cycle that it ends is
// written when it holds a fix (the header before the first row). broken:
// a control byte stopped the line's capture inside the line.
void ReadCycleSentence(const char* sentence, bool broken, FILE* output);

// At the end of the log: the last cycle is written too when it holds a fix.
// Returns the rows written.
int64_t EndCycles(FILE* output);

// Rows written so far in this log (for a conversion cut short).
int64_t CycleRows();

}  // namespace quorval
