// One conversion: a log in, the CSV table out.
#pragma once

#include <cstdio>

#include "convert/conversion.h"

namespace quorval {

// Why a conversion stopped before the end of its log, beside a cancel
// request (which the run state shows).
struct ConversionEnd {
  int readError;  // the log could not be read on: the errno value, else 0
  // The compressor of a log that this build does not read ("xz" on
  // Windows), of which no line was read; else nullptr.
  const char* unreadCompression;
  const char* damage;  // why a compressed log's text ended early (readError is EIO), else nullptr
};

// Reads the log (plain, or compressed: as its text) to its end (or a read
// error, or a cancel request) and writes the header at its first GGA
// sentence and a row at every later one. Resets
// only the epoch counter; the record keeps what earlier logs left in it.
// The conversion is started afresh (keeping only counts.detailed, which the
// caller sets before) and afterwards holds what the log held and the rows
// written (counts.rows). Both streams must be open. One conversion runs at
// a time: the read buffers, the epoch record and the progress are the
// program's.
ConversionEnd ConvertLog(FILE* input, FILE* output, Conversion& conversion);

// The same, writing each table the outputs name (one pass over the log):
// the classic layout's table (the header and rows above), and the fixes
// and satellites tables of the receiver cycles. counts.rows is that of the
// first table named. The input and every named output must be open.
ConversionEnd ConvertLog(FILE* input, const ConversionOutputs& outputs, Conversion& conversion);

}  // namespace quorval
