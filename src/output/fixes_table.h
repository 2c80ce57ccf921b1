// The fixes table: one row per receiver cycle that has a time, with or
// without a fix, every value as the receiver sent it (or derived from its
// text by exact decimal arithmetic), an empty cell for a value the cycle
// does not carry. CSV as RFC 4180 has it: a header, commas between cells,
// lines ended by CR LF. The satellites table begins its rows with the same
// two cells of time.
#pragma once

#include "output/fix_record.h"

namespace quorval {

// The header line, CR LF included.
const char* FixesHeader();

// The utc and time_of_day cells and the comma between them: the ISO 8601
// time when the cycle has a date, seconds since midnight as sent.
char* FormatCycleTime(char* out, const FixRecord& fix);

// One row, CR LF included; kMaxFixRowText bytes suffice. satellitesInView
// is -1 when the cycle had no GSV.
char* FormatFixRow(char* out, const FixRecord& fix, int satellitesInView);
constexpr int kMaxFixRowText = 2048;

}  // namespace quorval
