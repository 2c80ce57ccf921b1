// The satellites table: one row per satellite and signal of each receiver
// cycle that has a time, as its GSV sentences gave them, the tidy form that
// data frames and SQL group by. CSV as the fixes table.
#pragma once

#include "output/fix_record.h"

namespace quorval {

const char* SatellitesHeader();

// One row, CR LF included, after the cycle's time cells (FormatCycleTime);
// kMaxSignalRowText bytes suffice beyond them.
char* FormatSignalRow(char* out, const char* timeCells, int timeLength, const SignalRecord& signal);
constexpr int kMaxSignalRowText = 256;

}  // namespace quorval
