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

// The cells of a row one by one, for the formats that name each value: each
// column's name, whether its value is text (utc, status, mode) rather than
// a number, and its cell (empty for a value the cycle does not carry).
// column is 0 to kFixColumnCount - 1.
constexpr int kFixColumnCount = 21;
const char* FixColumnName(int column);
bool FixColumnIsText(int column);
char* FormatFixCell(char* out, int column, const FixRecord& fix, int satellitesInView);

}  // namespace quorval
